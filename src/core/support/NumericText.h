#pragma once

#include <optional>
#include <string_view>

/// True for text that reads as a number: optional blanks, an optional sign, digits with at most
/// one decimal point (or a point followed by digits), an optional exponent, optional blanks.
/// The empty text is not numeric.
bool isNumericText(std::string_view text);

/// The value of a numeric text; nothing when the text is not numeric.
std::optional<double> numericValue(std::string_view text);

/// The value of a hexadecimal digit (either case); -1 for any other character.
int hexDigitValue(char c);
