#include "contacts/XmlScanner.h"

#include "support/NumericText.h"

#include <cstdint>
#include <vector>

namespace {

void appendUtf8(std::uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool isNameChar(char c) {
    return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '>' && c != '/' && c != '=';
}

std::string_view localName(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

bool resolveXmlEntities(std::string_view text, std::string& out) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t amp = text.find('&', pos);
        out += text.substr(pos, amp == std::string_view::npos ? amp : amp - pos);
        if (amp == std::string_view::npos) {
            break;
        }
        const std::size_t semi = text.find(';', amp);
        if (semi == std::string_view::npos || semi - amp > 10) {
            return false;
        }
        const std::string_view entity = text.substr(amp + 1, semi - amp - 1);
        if (entity == "amp") {
            out += '&';
        } else if (entity == "lt") {
            out += '<';
        } else if (entity == "gt") {
            out += '>';
        } else if (entity == "quot") {
            out += '"';
        } else if (entity == "apos") {
            out += '\'';
        } else if (entity.size() > 1 && entity[0] == '#') {
            const bool hex = entity[1] == 'x' || entity[1] == 'X';
            std::uint32_t code = 0;
            const std::string_view digits = entity.substr(hex ? 2 : 1);
            if (digits.empty()) {
                return false;
            }
            for (const char c : digits) {
                const int value = hexDigitValue(c);
                if (value < 0 || (!hex && value > 9)) {
                    return false;
                }
                code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
                if (code > 0x10FFFF) {
                    return false;
                }
            }
            appendUtf8(code, out);
        } else {
            return false;
        }
        pos = semi + 1;
    }
    return true;
}

bool XmlScanner::fail(std::string message) {
    m_error = std::move(message);
    return false;
}

bool XmlScanner::scan(std::string_view bytes, const Handler& handler) {
    m_error.clear();
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::vector<std::string> open;
    std::vector<std::string> texts;
    bool rootSeen = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t lt = bytes.find('<', pos);
        const std::string_view text =
            bytes.substr(pos, lt == std::string_view::npos ? lt : lt - pos);
        if (open.empty()) {
            if (!isBlank(text)) {
                return fail("text outside the document element");
            }
        } else if (!resolveXmlEntities(text, texts.back())) {
            return fail("bad entity at byte " + std::to_string(pos));
        }
        if (lt == std::string_view::npos) {
            break;
        }
        const std::string_view rest = bytes.substr(lt);
        if (rest.substr(0, 4) == "<!--") {
            const std::size_t close = bytes.find("-->", lt + 4);
            if (close == std::string_view::npos) {
                return fail("comment without end");
            }
            pos = close + 3;
            continue;
        }
        if (rest.substr(0, 9) == "<![CDATA[") {
            const std::size_t close = bytes.find("]]>", lt + 9);
            if (close == std::string_view::npos || open.empty()) {
                return fail("bad CDATA section");
            }
            texts.back() += bytes.substr(lt + 9, close - lt - 9);
            pos = close + 3;
            continue;
        }
        if (rest.substr(0, 2) == "<?" || rest.substr(0, 2) == "<!") {
            const std::size_t close = bytes.find('>', lt);
            if (close == std::string_view::npos) {
                return fail("declaration without end");
            }
            pos = close + 1;
            continue;
        }
        // A tag: find its end outside quoted attribute values.
        std::size_t close = lt + 1;
        char quote = 0;
        for (; close < bytes.size(); ++close) {
            const char c = bytes[close];
            if (quote != 0) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        if (close >= bytes.size()) {
            return fail("tag without end");
        }
        std::string_view tag = bytes.substr(lt + 1, close - lt - 1);
        pos = close + 1;
        if (!tag.empty() && tag[0] == '/') {
            std::string_view name = tag.substr(1);
            while (!name.empty() && !isNameChar(name.back())) {
                name.remove_suffix(1);
            }
            if (open.empty() || open.back() != name) {
                return fail("unexpected </" + std::string(name) + ">");
            }
            if (handler.end) {
                handler.end(localName(name), texts.back());
            }
            open.pop_back();
            texts.pop_back();
            continue;
        }
        const bool selfClosing = !tag.empty() && tag.back() == '/';
        std::size_t nameEnd = 0;
        while (nameEnd < tag.size() && isNameChar(tag[nameEnd])) {
            ++nameEnd;
        }
        if (nameEnd == 0) {
            return fail("tag without name");
        }
        if (open.empty()) {
            if (rootSeen) {
                return fail("second document element");
            }
            rootSeen = true;
        }
        const std::string_view name = tag.substr(0, nameEnd);
        if (handler.start) {
            handler.start(localName(name));
        }
        if (selfClosing) {
            if (handler.end) {
                handler.end(localName(name), std::string());
            }
        } else {
            open.emplace_back(name);
            texts.emplace_back();
        }
    }
    if (!open.empty()) {
        return fail("<" + open.back() + "> not closed");
    }
    if (!rootSeen) {
        return fail("no document element");
    }
    return true;
}
