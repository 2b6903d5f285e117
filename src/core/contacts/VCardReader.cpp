#include "contacts/VCardReader.h"

#include "support/NumericText.h"
#include "support/TextFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace {

// One content line after unfolding, with the number of its first physical line.
struct ContentLine {
    std::string text;
    std::size_t lineNumber = 0;
};

struct Property {
    std::string name;                                        // upper case, group removed
    std::vector<std::pair<std::string, std::string>> params; // names upper case
    std::string value;
};

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && upper(text.substr(0, prefix.size())) == prefix;
}

bool isQuotedPrintable(std::string_view line) {
    const std::size_t colon = line.find(':');
    const std::string head = upper(line.substr(0, colon));
    return head.find("QUOTED-PRINTABLE") != std::string::npos;
}

// Physical lines to content lines: a line starting with a blank or tab continues the one
// before; a quoted-printable value ending in "=" continues on the next line.
std::vector<ContentLine> unfold(std::string_view bytes) {
    std::vector<ContentLine> lines;
    std::size_t lineNumber = 0;
    bool softBreak = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (softBreak && !lines.empty()) {
            lines.back().text.pop_back(); // the "="
            lines.back().text += line;
        } else if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty()) {
            lines.back().text += line.substr(1);
        } else if (!line.empty()) {
            lines.push_back({std::string(line), lineNumber});
        } else {
            continue;
        }
        const std::string& text = lines.back().text;
        softBreak = !text.empty() && text.back() == '=' && isQuotedPrintable(text);
    }
    return lines;
}

std::optional<Property> splitProperty(std::string_view line) {
    // The colon that ends the name and parameters is the first one outside quotes.
    bool quoted = false;
    std::size_t colon = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string_view::npos || colon == 0) {
        return std::nullopt;
    }
    Property property;
    property.value = std::string(line.substr(colon + 1));
    std::string_view head = line.substr(0, colon);
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    quoted = false;
    for (std::size_t i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"') {
            quoted = !quoted;
        }
        if (i == head.size() || (head[i] == ';' && !quoted)) {
            parts.push_back(head.substr(start, i - start));
            start = i + 1;
        }
    }
    std::string_view name = parts.front();
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
        name.remove_prefix(dot + 1); // "item1.TEL"
    }
    property.name = upper(name);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) {
            // vCard 2.1 writes bare types and encodings: "TEL;HOME;VOICE".
            const std::string bare = upper(part);
            const bool encoding = bare == "QUOTED-PRINTABLE" || bare == "BASE64" || bare == "B";
            property.params.emplace_back(encoding ? "ENCODING" : "TYPE", bare);
        } else {
            std::string value(part.substr(equals + 1));
            value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
            property.params.emplace_back(upper(part.substr(0, equals)), value);
        }
    }
    return property;
}

std::string param(const Property& property, std::string_view name) {
    for (const auto& [key, value] : property.params) {
        if (key == name) {
            return value;
        }
    }
    return {};
}

std::optional<std::string> decodeQuotedPrintable(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
            continue;
        }
        if (i + 1 == text.size()) {
            break; // a soft break at the very end
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hexDigitValue(text[i + 1]);
        const int low = hexDigitValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t follow = 0;
        if (c < 0x80) {
            follow = 0;
        } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
            follow = 1;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2;
        } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
            follow = 3;
        } else {
            return false;
        }
        if (follow > 0 && i + follow >= text.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= follow; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += follow + 1;
    }
    return true;
}

// The value as UTF-8 text: quoted-printable decoded, the charset converted (Latin-1 and
// Windows-1252 are the ones address books write besides UTF-8), escapes of 3.0/4.0 resolved.
std::optional<std::string> textValue(const Property& property) {
    std::string value = property.value;
    if (upper(param(property, "ENCODING")) == "QUOTED-PRINTABLE") {
        auto decoded = decodeQuotedPrintable(value);
        if (!decoded) {
            return std::nullopt;
        }
        value = std::move(*decoded);
    }
    const std::string charset = upper(param(property, "CHARSET"));
    const bool latin = charset == "ISO-8859-1" || charset == "ISO-8859-15" ||
                       charset == "WINDOWS-1252" || charset == "CP1252" || charset == "LATIN1";
    // Without a charset, bytes that are no UTF-8 are taken as Windows-1252 (old exports).
    if (latin || !isValidUtf8(value)) {
        value = cp1252ToUtf8(value);
    }
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            out += (next == 'n' || next == 'N') ? ' ' : next;
        } else {
            out += value[i];
        }
    }
    return out;
}

// N: family;given;additional;prefixes;suffixes → "prefix given additional family suffix".
std::string nameFromStructured(const std::string& value) {
    std::vector<std::string> parts(5);
    std::size_t field = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == ';' && (i == 0 || value[i - 1] != '\\')) {
            if (++field >= parts.size()) {
                break;
            }
        } else if (field < parts.size()) {
            parts[field] += value[i];
        }
    }
    std::string name;
    for (const std::size_t index : std::array<std::size_t, 5>{3, 1, 2, 0, 4}) {
        std::string part = parts[index];
        std::replace(part.begin(), part.end(), ',', ' ');
        if (part.find_first_not_of(' ') == std::string::npos) {
            continue;
        }
        if (!name.empty()) {
            name += ' ';
        }
        name += part;
    }
    return name;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

void readPhoto(const Property& property, Contact& contact) {
    const std::string encoding = upper(param(property, "ENCODING"));
    std::string_view value = property.value;
    std::string type = param(property, "TYPE");
    if (startsWithNoCase(value, "DATA:")) {
        // data:image/jpeg;base64,....
        const std::size_t comma = value.find(',');
        if (comma == std::string_view::npos) {
            return;
        }
        const std::string_view head = value.substr(5, comma - 5);
        if (const std::size_t slash = head.find('/'); slash != std::string_view::npos) {
            type = std::string(head.substr(slash + 1, head.find(';') - slash - 1));
        }
        if (decodeBase64(value.substr(comma + 1), contact.photoData)) {
            contact.photoType = type;
        }
        return;
    }
    if (encoding == "B" || encoding == "BASE64") {
        if (decodeBase64(value, contact.photoData)) {
            contact.photoType = type.empty() ? "jpeg" : type;
        }
        return;
    }
    contact.photoUri = std::string(value);
}

std::string telNumber(std::string value) {
    if (startsWithNoCase(value, "TEL:")) {
        value.erase(0, 4);
    }
    // "tel:+49-30-1234;ext=5" and 2.1 exports with "p"/"w" dial pauses keep the number part.
    const std::size_t cut = value.find_first_of(";,pPwWxX");
    if (cut != std::string::npos) {
        value.erase(cut);
    }
    return trimmed(value);
}

} // namespace

bool decodeBase64(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size() * 3 / 4);
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : text) {
        int value = 0;
        if (c >= 'A' && c <= 'Z') {
            value = c - 'A';
        } else if (c >= 'a' && c <= 'z') {
            value = c - 'a' + 26;
        } else if (c >= '0' && c <= '9') {
            value = c - '0' + 52;
        } else if (c == '+' || c == '-') {
            value = 62;
        } else if (c == '/' || c == '_') {
            value = 63;
        } else if (c == '=' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            continue;
        } else {
            out.clear();
            return false;
        }
        buffer = (buffer << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return true;
}

ContactsRead readVCards(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    ContactsRead result;
    std::optional<Contact> card;
    std::string formattedName;
    std::string structuredName;
    std::string organisation;
    std::size_t cardLine = 0;
    std::string damage; // the first problem of the current card

    const auto skipCard = [&](std::size_t line, const std::string& why) {
        if (damage.empty()) {
            damage = "line " + std::to_string(line) + ": " + why;
        }
    };
    const auto startCard = [&](std::size_t lineNumber) {
        card.emplace();
        formattedName.clear();
        structuredName.clear();
        organisation.clear();
        damage.clear();
        cardLine = lineNumber;
    };
    for (const ContentLine& line : unfold(bytes)) {
        const auto property = splitProperty(line.text);
        if (!card) {
            if (property && property->name == "BEGIN" &&
                upper(trimmed(property->value)) == "VCARD") {
                startCard(line.lineNumber);
            }
            continue; // text between cards is no card
        }
        if (!property) {
            skipCard(line.lineNumber, "not a vCard property");
            continue;
        }
        if (property->name == "BEGIN") {
            // A card without END: it is lost, the new one starts here.
            result.problems.push_back("line " + std::to_string(cardLine) + ": card without END");
            startCard(line.lineNumber);
            continue;
        }
        if (property->name == "END") {
            std::string name = !formattedName.empty()    ? formattedName
                               : !structuredName.empty() ? structuredName
                                                         : organisation;
            if (damage.empty() && name.empty()) {
                damage = "line " + std::to_string(cardLine) + ": card without a name";
            }
            if (damage.empty()) {
                card->name = std::move(name);
                result.contacts.push_back(std::move(*card));
            } else {
                result.problems.push_back(damage);
            }
            card.reset();
            continue;
        }
        if (property->name == "FN" || property->name == "N" || property->name == "ORG" ||
            property->name == "TEL") {
            const auto text = textValue(*property);
            if (!text) {
                skipCard(line.lineNumber, "bad quoted-printable value");
                continue;
            }
            if (property->name == "FN") {
                formattedName = trimmed(*text);
            } else if (property->name == "N") {
                structuredName = trimmed(nameFromStructured(*text));
            } else if (property->name == "ORG") {
                organisation = trimmed(text->substr(0, text->find(';')));
            } else if (std::string number = telNumber(*text); !number.empty()) {
                card->numbers.push_back(std::move(number));
            }
        } else if (property->name == "PHOTO") {
            readPhoto(*property, *card);
        }
    }
    if (card) {
        result.problems.push_back("line " + std::to_string(cardLine) + ": card without END");
    }
    return result;
}
