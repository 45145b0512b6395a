#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "CJsonStream.h"

// Scripts read list --json as nlohmann's dump(2) wrote it before it became a stream:
// the same bytes, down to empty arrays and text that is not UTF-8.
TEST(JsonStream, WritesWhatTheDocumentDumpWrote)
{
    const std::string odd = std::string("q\"b\\c\n\t\x01 caf\xc3\xa9 ") + "\xe9x \x80 \xf0\x9f\x98\x80";
    nlohmann::ordered_json doc;
    doc["name"] = odd;
    doc["n"] = -2147483648LL;
    doc["none"] = nullptr;
    doc["flags"] = {true, false};
    doc["empty"] = nlohmann::ordered_json::array();
    doc["nested"] = {{{"a", 1}, {"b", nlohmann::ordered_json::array({"x"})}}};
    const std::string expected =
        doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";

    std::ostringstream out;
    CJsonStream json(out);
    json.BeginObject().Key("name").String(odd).Key("n").Number(-2147483648LL);
    json.Key("none").Null().Key("flags").BeginArray().Bool(true).Bool(false).EndArray();
    json.Key("empty").BeginArray().EndArray().Key("nested").BeginArray().BeginObject();
    json.Key("a").Number(1).Key("b").BeginArray().StringParts({"", "x", ""}).EndArray();
    json.EndObject().EndArray().EndObject();
    json.Finish();
    EXPECT_EQ(out.str(), expected);
}
