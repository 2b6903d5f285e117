#pragma once

#include "contacts/Contact.h"

#include <string_view>

/// Reads a phonebook exported by a home router:
/// <phonebooks><phonebook><contact><person><realName>…</realName></person>
/// <telephony><number type="home">…</number></telephony></contact></phonebook></phonebooks>.
/// A contact without name or number is skipped with a problem; a file that is not XML gives
/// no contacts and one problem.
ContactsRead readRouterPhonebook(std::string_view bytes);
