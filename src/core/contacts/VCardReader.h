#pragma once

#include "contacts/Contact.h"

#include <string_view>

/// Reads the cards of a vCard file (versions 2.1, 3.0 and 4.0) from its bytes: folded lines,
/// TEL with or without types (and as tel: address), FN or else N, PHOTO inline or as address,
/// quoted-printable values and the charset parameter of 2.1, escapes of 3.0 and 4.0. A card
/// that cannot be read is skipped, and a problem names its line; the other cards stay.
ContactsRead readVCards(std::string_view bytes);

/// Decodes base64, skipping blanks and line ends; nothing when the text is not base64.
bool decodeBase64(std::string_view text, std::string& out);
