#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Writes JSON as it goes, laid out as nlohmann's dump(2) lays out a document, so a listing
// of tens of thousands of entries never stands whole in memory. Text that is not UTF-8
// is written with U+FFFD in place of each bad byte.
class CJsonStream
{
public:
    explicit CJsonStream(std::ostream& out);
    ~CJsonStream();
    CJsonStream(const CJsonStream&) = delete;
    CJsonStream& operator=(const CJsonStream&) = delete;

    CJsonStream& BeginObject();
    CJsonStream& EndObject();
    CJsonStream& BeginArray();
    CJsonStream& EndArray();
    // The key of the next member of an object.
    CJsonStream& Key(std::string_view key);
    CJsonStream& String(std::string_view text);
    // One string made of the parts, which need not be joined first.
    CJsonStream& StringParts(std::initializer_list<std::string_view> parts);
    CJsonStream& Number(std::int64_t n);
    CJsonStream& Bool(bool b);
    CJsonStream& Null();
    // Ends the document with a line break and hands everything to the stream.
    void Finish();

private:
    void BeforeValue();
    void Close(char c);
    void Escaped(std::string_view text);
    void EscapedPart(std::string_view text);
    void FlushIfFull();

    std::ostream& m_out;
    std::string m_buffer;
    std::vector<int> m_counts; // members or items written at each open level
    bool m_bAfterKey = false;
};
