#include "support/JsonWriter.h"

#include <array>

namespace {

// The length of the valid UTF-8 sequence at the start of text; 0 when it is none.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < minimum || code > 0x10FFFF || surrogate ? 0 : length;
}

void appendEscaped(std::string& out, std::string_view text) {
    out += '"';
    while (!text.empty()) {
        const char c = text.front();
        const std::size_t length = utf8SequenceLength(text);
        if (length == 0) {
            out += "\\ufffd";
            text.remove_prefix(1);
            continue;
        }
        if (length > 1) {
            out += text.substr(0, length);
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            static constexpr std::array<char, 16> kHex{'0', '1', '2', '3', '4', '5', '6', '7',
                                                       '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
            const auto byte = static_cast<unsigned char>(c);
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
        text.remove_prefix(length);
    }
    out += '"';
}

} // namespace

void JsonWriter::separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first) {
        m_text += ',';
    }
    m_first = false;
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    m_text += '{';
    m_first = true;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    m_text += '}';
    m_first = false;
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    m_text += '[';
    m_first = true;
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    m_text += ']';
    m_first = false;
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separate();
    appendEscaped(m_text, name);
    m_text += ':';
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separate();
    appendEscaped(m_text, text);
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    separate();
    m_text += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separate();
    m_text += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::raw(std::string_view json) {
    separate();
    m_text += json;
    return *this;
}

std::string jsonString(std::string_view text) {
    std::string out;
    appendEscaped(out, text);
    return out;
}
