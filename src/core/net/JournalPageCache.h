#pragma once

#include "net/CallsJson.h"
#include "net/JournalPage.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

/// The journal page (and the journal as JSON) as served: built from calls.txt and the
/// phonebook's names when first asked for, and kept while neither the file nor the names change
/// (the phonebook's revision tells), so that a request costs a look at the file's size and time.
/// A file changed within the time stamps' resolution is compared by content. Not thread-safe:
/// one thread at a time may use it.
class JournalPageCache {
public:
    JournalPageCache(JournalPage page, std::string journalPath);

    struct Result {
        std::shared_ptr<const std::string> page; // as sent, never null
        std::uint64_t version = 0;               // changes whenever the page does
        /// Why the journal gave no rows, as "number-description"; empty when it was read.
        std::string journalError;
    };

    /// The page with every line of calls.txt; names from nameOf, which answers from the
    /// phonebook of the given revision.
    Result journalPage(const NameLookup& nameOf, std::uint64_t namesRevision,
                       const std::string& notice = {});
    /// The line of text above the table of the page built last.
    const std::string& pageNotice() const { return m_notice; }
    /// The journal as JSON; missedReason is the end reason of a call nobody answered.
    std::shared_ptr<const CallsJson>
    callsJson(const NameLookup& nameOf, std::uint64_t namesRevision, std::string_view missedReason);
    /// Whether the file and the names are as they were at the last build: true means
    /// journalPage() and callsJson() answer without reading the file (once each has been built).
    bool isCurrent(std::uint64_t namesRevision) const;
    /// What was built last, without a look at the files; an empty page or null when nothing
    /// is built for the files as they were last read.
    const Result& builtPage() const { return m_result; }
    const std::shared_ptr<const CallsJson>& builtJson() const { return m_json; }
    const JournalPage& page() const { return m_page; }

    struct FileStamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        bool operator==(const FileStamp&) const = default;
    };

private:
    bool stampsSettled() const;
    /// Reads the file again unless isCurrent(); forgets what was built when it or the names
    /// changed.
    void refresh(std::uint64_t namesRevision);
    std::vector<std::string> journalLines() const;

    JournalPage m_page;
    std::string m_journalPath;
    FileStamp m_journalStamp;
    std::uint64_t m_namesRevision = 0;
    std::filesystem::file_time_type m_verifiedAt{};
    std::string m_journalBytes;
    bool m_read = false;
    bool m_journalExists = false;
    Result m_result;
    std::shared_ptr<const CallsJson> m_json;
    std::string m_notice;
};

/// The journal file's reason for an empty page: "53-File not found" for a missing file,
/// "62-Input past end of file" for one without lines; empty when it has lines.
std::string journalFileError(bool exists, bool hasLines);
