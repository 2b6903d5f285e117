#include "contacts/RouterPhonebookReader.h"

#include "contacts/XmlScanner.h"
#include "support/TextFile.h"

#include <algorithm>
#include <string>

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Routers write their export in Latin-1 and say so in the declaration.
bool declaresLatin1(std::string_view bytes) {
    const std::string head(bytes.substr(0, std::min<std::size_t>(bytes.size(), 100)));
    std::string lower;
    for (const char c : head) {
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return lower.rfind("<?xml", 0) == 0 && (lower.find("iso-8859-1") != std::string::npos ||
                                            lower.find("windows-1252") != std::string::npos);
}

} // namespace

ContactsRead readRouterPhonebook(std::string_view bytes) {
    std::string converted;
    if (declaresLatin1(bytes)) {
        converted = cp1252ToUtf8(bytes);
        bytes = converted;
    }
    ContactsRead result;
    Contact contact;
    int contactNumber = 0;
    bool inContact = false;
    XmlScanner::Handler handler;
    handler.start = [&](std::string_view name) {
        if (name == "contact") {
            contact = Contact{};
            inContact = true;
            ++contactNumber;
        }
    };
    handler.end = [&](std::string_view name, const std::string& text) {
        if (!inContact) {
            return;
        }
        if (name == "realName") {
            contact.name = trimmed(text);
        } else if (name == "number" && !trimmed(text).empty()) {
            contact.numbers.push_back(trimmed(text));
        } else if (name == "imageURL") {
            contact.photoUri = trimmed(text);
        } else if (name == "contact") {
            inContact = false;
            if (contact.name.empty() || contact.numbers.empty()) {
                result.problems.push_back("contact " + std::to_string(contactNumber) +
                                          ": no name or no number");
            } else {
                result.contacts.push_back(std::move(contact));
            }
        }
    };
    XmlScanner scanner;
    if (!scanner.scan(bytes, handler)) {
        result.contacts.clear();
        result.problems.push_back("not a router phonebook: " + scanner.error());
    }
    return result;
}
