#pragma once

#include <string>
#include <utility>

// Outcome of one file, registry or archive operation: empty text on success, else what went wrong,
// naming the file and the cause.
class Result
{
public:
    Result() = default;
    static Result Ok() { return Result(); }
    static Result Fail(std::string text) { return Result(std::move(text)); }

    bool IsOk() const { return !m_bFailed; }
    explicit operator bool() const { return !m_bFailed; }
    const std::string& Text() const { return m_strText; }

private:
    explicit Result(std::string text) : m_bFailed(true), m_strText(std::move(text)) {}
    bool m_bFailed = false;
    std::string m_strText;
};
