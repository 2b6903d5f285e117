#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// Writes JSON text: objects, arrays, strings, numbers and Booleans, with commas put in by
/// itself. Strings are taken as UTF-8; quotes, backslashes and control bytes are escaped, and
/// bytes that are no valid UTF-8 become U+FFFD, so the text is always valid JSON.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    /// The name of the next member of an object.
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(bool flag);
    /// Text that is JSON already (e.g. an element written by another writer).
    JsonWriter& raw(std::string_view json);

    const std::string& text() const { return m_text; }
    std::string take() { return std::move(m_text); }

private:
    void separate();

    std::string m_text;
    bool m_first = true; // nothing written yet in the open object or array
    bool m_afterKey = false;
};

/// The text as a JSON string, quotes included.
std::string jsonString(std::string_view text);
