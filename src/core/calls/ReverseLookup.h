#pragma once

#include <optional>
#include <string>

/// The number to look up in a display text: a bare number, or "number-or-name (origin)" as
/// the pop-up shows it. Nothing when what is left is not a number (a name, a withheld caller).
std::optional<std::string> lookupNumber(const std::string& displayText);

/// The search address: the template with "%s" replaced by the percent-encoded number, or the
/// number appended when the template has no "%s".
std::string lookupAddress(const std::string& urlTemplate, const std::string& number);

/// The text for a failure code of the shell's open operation.
std::string shellExecuteErrorText(long code);

/// The log line for a failed launch of the lookup.
std::string shellExecuteLogLine(long code);

class Log;
class UrlOpener;

/// Opens the web directory's page for the number of a display text in the browser; a failed
/// launch is logged. Nothing happens for a text without a number.
void lookUpInBrowser(const std::string& displayText, const std::string& urlTemplate,
                     UrlOpener& opener, const Log& log);
