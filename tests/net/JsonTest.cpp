#include "calls/CallEvent.h"
#include "net/CallsJson.h"
#include "support/JsonWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct EscapeCase {
    const char* name;
    std::string text;
    std::string json;
};

class JsonEscaping : public ::testing::TestWithParam<EscapeCase> {};

} // namespace

TEST_P(JsonEscaping, StringsComeOutAsValidJson) {
    EXPECT_EQ(jsonString(GetParam().text), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonEscaping,
    ::testing::Values(EscapeCase{"Plain", "Anna", "\"Anna\""},
                      EscapeCase{"QuoteAndBackslash", "say \"hi\" C:\\x", R"("say \"hi\" C:\\x")"},
                      EscapeCase{"ControlBytes", std::string("a\tb\r\n\x01\x1f\x7f", 8),
                                 R"("a\tb\r\n\u0001\u001f\u007f")"},
                      EscapeCase{"NulByte", std::string("a\0b", 3), R"("a\u0000b")"},
                      EscapeCase{"Umlaut", "G\xC3\xA4ste", "\"G\xC3\xA4ste\""},
                      EscapeCase{"NonLatin", "\xE5\xB1\xB1\xE7\x94\xB0 \xF0\x9F\x93\x9E",
                                 "\"\xE5\xB1\xB1\xE7\x94\xB0 \xF0\x9F\x93\x9E\""},
                      EscapeCase{"Cp1252ByteIsNoUtf8", "M\xFCller", R"("M\ufffdller")"},
                      EscapeCase{"CutSequence", "a\xE5\xB1", R"("a\ufffd\ufffd")"},
                      EscapeCase{"OverlongSlash", "\xC0\xAF", R"("\ufffd\ufffd")"},
                      EscapeCase{"Surrogate", "\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonWriter, CommasAndNesting) {
    JsonWriter json;
    json.beginArray()
        .beginObject()
        .key("a")
        .value(std::int64_t{-1})
        .key("b")
        .beginArray()
        .value(true)
        .value("x")
        .endArray()
        .endObject()
        .beginObject()
        .endObject()
        .raw("null")
        .endArray();
    EXPECT_EQ(json.text(), R"([{"a":-1,"b":[true,"x"]},{},null])");
}

TEST(CallsJson, NewestFirstWithNamesDatesAndLimit) {
    const std::vector<std::string> lines = {
        "0815\t0815\t12345\t06.12.26\t09:15:00\tCaller hung up\tTelephony", "",
        "0711\tOffice \"A\"\tPrivat\t07.12.26\t10:00:00\tAnswered\tTelephony", "0301\t0301"};
    const NameLookup nameOf = [](const std::string& display) {
        return display == "0815" ? std::string("Anna") : display;
    };
    const CallsJson calls(lines, nameOf, "Caller hung up");
    EXPECT_EQ(calls.size(), 3U);
    const std::string oldest =
        R"({"number":"0815","name":"Anna","msn":"12345","date":"2026-12-06","time":"09:15:00",)"
        R"("reason":"Caller hung up","service":"Telephony","missed":true})";
    const std::string middle =
        R"({"number":"0711","name":"Office \"A\"","msn":"Privat","date":"2026-12-07",)"
        R"("time":"10:00:00","reason":"Answered","service":"Telephony","missed":false})";
    const std::string newest =
        R"({"number":"0301","name":"","msn":"","date":"","time":"","reason":"","service":"",)"
        R"("missed":false})";
    EXPECT_EQ(calls.text(), "[" + newest + "," + middle + "," + oldest + "]");
    EXPECT_EQ(calls.text(2), "[" + newest + "," + middle + "]");
    EXPECT_EQ(calls.text(0), "[]");
    EXPECT_EQ(calls.text(99), calls.text());
    EXPECT_EQ(CallsJson({}, nameOf, "x").text(1), "[]");
    EXPECT_EQ(isoDate("31.01.99"), "2099-01-31");
    EXPECT_EQ(isoDate("07.12.2026"), "2026-12-07");
    EXPECT_EQ(isoDate("1.1.26"), "1.1.26");
}

TEST(CallsJson, EventsAndHealth) {
    CallEvent event;
    event.kind = CallEvent::Kind::End;
    event.callId = 7;
    event.number = "0815";
    event.name = "Tab\there";
    event.reason = "Caller hung up";
    event.missed = true;
    const std::string message = callEventMessage(event);
    EXPECT_EQ(message.substr(0, 17), "event: end\ndata: ");
    EXPECT_NE(message.find(R"("name":"Tab\there")"), std::string::npos) << message;
    EXPECT_NE(message.find(R"("reason":"Caller hung up","missed":true})"), std::string::npos);
    EXPECT_TRUE(message.ends_with("}\n\n"));
    EXPECT_EQ(message.find('\n', 17), message.size() - 2); // the data is one line

    LineHealth health;
    health.calls = 3;
    EXPECT_TRUE(lineHealthJson(health).starts_with(R"({"line":"up","since":")"));
    EXPECT_TRUE(lineHealthJson(health).ends_with(R"(","calls":3})"));
    health.up = false;
    health.reason = "gone";
    EXPECT_NE(lineHealthJson(health).find(R"(","reason":"gone","calls":3})"), std::string::npos);
}
