#pragma once

#include <string>
#include <utility>

// Outcome of one file or registry operation: empty text on success, else what went
// wrong, naming the file and the cause.
class IoResult
{
public:
    IoResult() = default;
    static IoResult Ok() { return IoResult(); }
    static IoResult Fail(std::string text) { return IoResult(std::move(text)); }

    bool IsOk() const { return !m_bFailed; }
    explicit operator bool() const { return !m_bFailed; }
    const std::string& Text() const { return m_strText; }

private:
    explicit IoResult(std::string text) : m_bFailed(true), m_strText(std::move(text)) {}
    bool m_bFailed = false;
    std::string m_strText;
};
