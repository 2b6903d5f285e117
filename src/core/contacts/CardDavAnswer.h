#pragma once

#include "contacts/Contact.h"

#include <string>
#include <string_view>

/// The request body of a CardDAV REPORT that asks for every card of an address book with its
/// ETag.
std::string cardDavQueryBody();

/// What a CardDAV server's multistatus answer to that REPORT holds: the contacts of all cards
/// (a damaged card costs only itself), or an error when the answer is not such a document.
struct CardDavAnswer {
    bool ok = false;
    std::string error;
    std::size_t cardCount = 0;
    ContactsRead read;
};

CardDavAnswer readCardDavAnswer(std::string_view bytes);
