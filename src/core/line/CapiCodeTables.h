#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The fixed texts of the CAPI line: command and subcommand names, info code texts, CIP names
// and the profile report. Pure functions; they neither keep state nor reach the driver.

/// "CAPI_ALERT", "CAPI_CONNECT", ... by the command byte; "UNKNOWN" for any other byte.
std::string_view CommandName(std::uint8_t command);

/// "CAPI_REQ", "CAPI_CONF", "CAPI_IND", "CAPI_RESP"; "unknown" for any other byte.
std::string_view SubcommandName(std::uint8_t subcommand);

/// The text of a non-zero CAPI info code: its table text, or "Unknown Error - " and the code
/// in decimal. Code 0 gives an empty text.
std::string infoText(std::uint32_t info);

/// The name of a CIP value; "reserved" for values without one.
std::string_view CipName(int cip);

/// The version text: "2.0 rev. 3.11" for 2, 0, 3, 11.
std::string versionText(std::uint32_t capiMajor, std::uint32_t capiMinor,
                        std::uint32_t manufacturerMajor, std::uint32_t manufacturerMinor);

/// The report of a 64-byte controller profile: counts, masks and one line per supported
/// option or protocol, each line ended by CR LF. A shorter buffer counts as zero-filled.
std::string profileReport(const std::uint8_t* profile, std::size_t size);
