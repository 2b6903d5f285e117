#include "stores/FileProblems.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/Log.h"

FileProblems::FileProblems(const Log& log, const LanguageTable& language)
    : m_log(log), m_language(language) {}

void FileProblems::report(Kind kind, const std::string& path, const std::string& what,
                          const std::string& reason, int textId) {
    const std::string line = "ERROR: " + what + " " + path + " (" + reason + ")";
    note(line);
    if (!m_outages.insert({kind, path}).second) {
        return;
    }
    m_log.write(line);
    if (tellUser) {
        tellUser({m_language.text(lang_id::kDataFileTitle),
                  m_language.text(textId) + "\r\n\r\n" + path + "\r\n" + reason});
    }
}

void FileProblems::end(Kind kind, const std::string& path) {
    if (m_outages.erase({kind, path}) > 0) {
        note("OK: " + path);
    }
}

void FileProblems::saveFailed(const std::string& path, const std::string& reason) {
    report(Kind::Save, path, "unable to save", reason, lang_id::kSaveFailed);
}

void FileProblems::saved(const std::string& path) {
    end(Kind::Save, path);
}

void FileProblems::readFailed(const std::string& path, const std::string& reason) {
    report(Kind::Read, path, "unable to read", reason, lang_id::kReadFailed);
}

void FileProblems::readAgain(const std::string& path) {
    end(Kind::Read, path);
}

void FileProblems::keptAsIs(const std::string& path, const std::string& why) {
    report(Kind::KeptAsIs, path, "left unchanged", why, lang_id::kKeptAsIs);
}

void FileProblems::note(const std::string& line) const {
    if (trace) {
        trace(line);
    }
}

bool FileProblems::isFailing(const std::string& path) const {
    return m_outages.contains({Kind::Save, path}) || m_outages.contains({Kind::Read, path});
}
