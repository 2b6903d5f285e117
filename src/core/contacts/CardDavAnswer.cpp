#include "contacts/CardDavAnswer.h"

#include "contacts/VCardReader.h"
#include "contacts/XmlScanner.h"

std::string cardDavQueryBody() {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<C:addressbook-query xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">\n"
           "  <D:prop><D:getetag/><C:address-data/></D:prop>\n"
           "</C:addressbook-query>\n";
}

CardDavAnswer readCardDavAnswer(std::string_view bytes) {
    CardDavAnswer answer;
    bool multistatus = false;
    std::string href;
    XmlScanner::Handler handler;
    handler.start = [&](std::string_view name) {
        if (name == "multistatus") {
            multistatus = true;
        }
    };
    handler.end = [&](std::string_view name, const std::string& text) {
        if (name == "href") {
            href = text;
        } else if (name == "address-data" && !text.empty()) {
            ++answer.cardCount;
            ContactsRead cards = readVCards(text);
            for (Contact& contact : cards.contacts) {
                answer.read.contacts.push_back(std::move(contact));
            }
            for (const std::string& problem : cards.problems) {
                answer.read.problems.push_back(href);
                answer.read.problems.back() += ", ";
                answer.read.problems.back() += problem;
            }
        }
    };
    XmlScanner scanner;
    if (!scanner.scan(bytes, handler)) {
        answer.error = "not XML: " + scanner.error();
        answer.read = {};
        return answer;
    }
    if (!multistatus) {
        answer.error = "not a multistatus answer";
        answer.read = {};
        return answer;
    }
    answer.ok = true;
    return answer;
}
