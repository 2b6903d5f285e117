#pragma once

#include <string>
#include <string_view>

/// The one form in which numbers from different sources are compared: digits only, in the
/// international form with "00". Blanks, "/", "-", ".", brackets and an inserted "(0)" are
/// dropped; "+CC" becomes "00CC"; a national number "0AAA" becomes the own country prefix
/// ("0049") followed by "AAA". A local number without area code stays as it is. Text that is
/// no number at all (a withheld caller's text) gives the empty text, which matches nothing.
std::string canonicalNumber(std::string_view number, std::string_view ownCountryPrefix);

/// The number as the line delivers it, for the phonebook that compares exactly: a number of the
/// own country as "0AAA…", a foreign one as "00CC…", a local one as it is; the number as given
/// when it is no number at all.
std::string lineFormOfNumber(std::string_view number, std::string_view ownCountryPrefix);
