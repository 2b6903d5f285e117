#pragma once

/// The product's web address: the info page shows it, the journal page links to it and the
/// downloader names it to servers.
inline constexpr const char* kProductWebAddress = "https://rufwacht.example.org";
