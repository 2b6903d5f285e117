#include "net/JournalPageCache.h"

#include "support/TextFile.h"

#include <chrono>
#include <system_error>

namespace {

// Longer than the coarsest time stamps in use (FAT keeps two seconds), so a file whose time
// lies further back than this before the last comparison cannot have changed unseen.
constexpr auto kStampResolution = std::chrono::seconds(3);

JournalPageCache::FileStamp stampOf(const std::string& path) {
    JournalPageCache::FileStamp stamp;
    std::error_code error;
    const auto fsPath = toFsPath(path);
    stamp.size = std::filesystem::file_size(fsPath, error);
    if (error) {
        return {};
    }
    stamp.modified = std::filesystem::last_write_time(fsPath, error);
    stamp.exists = !error;
    return stamp;
}

} // namespace

std::string journalFileError(bool exists, bool hasLines) {
    if (!exists) {
        return "53-File not found";
    }
    return hasLines ? std::string() : "62-Input past end of file";
}

JournalPageCache::JournalPageCache(JournalPage page, std::string journalPath)
    : m_page(std::move(page)), m_journalPath(std::move(journalPath)) {}

bool JournalPageCache::stampsSettled() const {
    return m_verifiedAt - m_journalStamp.modified > kStampResolution;
}

bool JournalPageCache::isCurrent(std::uint64_t namesRevision) const {
    return m_read && namesRevision == m_namesRevision && stampOf(m_journalPath) == m_journalStamp &&
           stampsSettled();
}

void JournalPageCache::refresh(std::uint64_t namesRevision) {
    // The stamp is taken before reading, so a change during the read shows next time.
    const FileStamp journalStamp = stampOf(m_journalPath);
    if (m_read && namesRevision == m_namesRevision && journalStamp == m_journalStamp &&
        stampsSettled()) {
        return;
    }
    const auto now = std::filesystem::file_time_type::clock::now();
    std::optional<std::string> journalBytes = readFileBytes(m_journalPath);
    m_journalStamp = journalStamp;
    m_verifiedAt = now;
    if (m_read && namesRevision == m_namesRevision && journalBytes.has_value() == m_journalExists &&
        journalBytes.value_or(std::string()) == m_journalBytes) {
        return;
    }
    m_read = true;
    m_namesRevision = namesRevision;
    m_journalExists = journalBytes.has_value();
    m_journalBytes = journalBytes.value_or(std::string());
    m_result.page.reset();
    m_json.reset();
}

std::vector<std::string> JournalPageCache::journalLines() const {
    return m_journalExists ? splitLines(cp1252ToUtf8(m_journalBytes)) : std::vector<std::string>();
}

JournalPageCache::Result JournalPageCache::journalPage(const NameLookup& nameOf,
                                                       std::uint64_t namesRevision,
                                                       const std::string& notice) {
    refresh(namesRevision);
    if (m_result.page && notice != m_notice) {
        m_result.page.reset();
    }
    if (!m_result.page) {
        const std::vector<std::string> lines = journalLines();
        m_notice = notice;
        m_result.page =
            std::make_shared<const std::string>(m_page.journalPage(lines, nameOf, m_notice));
        m_result.journalError = journalFileError(m_journalExists, !lines.empty());
        ++m_result.version;
    }
    return m_result;
}

std::shared_ptr<const CallsJson> JournalPageCache::callsJson(const NameLookup& nameOf,
                                                             std::uint64_t namesRevision,
                                                             std::string_view missedReason) {
    refresh(namesRevision);
    if (!m_json) {
        m_json = std::make_shared<const CallsJson>(journalLines(), nameOf, missedReason);
    }
    return m_json;
}
