#include "stores/StoreFile.h"

#include "stores/FileProblems.h"
#include "stores/StoreWriter.h"
#include "support/TextFile.h"

std::optional<std::string> StoreFile::read() {
    if (m_writer) {
        m_writer->finish();
    }
    FileRead file = readDataFile(m_path);
    switch (file.status) {
    case ReadStatus::Ok:
        if (m_unreadable && m_problems) {
            m_problems->readAgain(m_path);
        }
        m_unreadable = false;
        return std::move(file.bytes);
    case ReadStatus::Missing:
        m_unreadable = false;
        reported(safeSave(m_path, "\r\n"));
        return std::nullopt;
    case ReadStatus::NotRegular:
    case ReadStatus::Failed:
        break;
    }
    m_unreadable = true;
    if (m_problems) {
        m_problems->readFailed(m_path, file.reason);
    }
    return std::nullopt;
}

SaveResult StoreFile::write(std::string_view bytes) {
    if (m_unreadable) {
        return reported(SaveResult::failed("the file could not be read, so it is not replaced"));
    }
    if (m_writer) {
        m_writer->finish();
    }
    return reported(safeSave(m_path, bytes));
}

void StoreFile::writeLater(std::string bytes) {
    if (m_writer && !m_unreadable) {
        m_writer->save(m_path, std::move(bytes), m_problems);
    } else {
        write(bytes);
    }
}

SaveResult StoreFile::writeTail(std::uint64_t expectedSize, std::uint64_t from,
                                std::string_view bytes) {
    return reported(replaceFileTail(m_path, expectedSize, from, bytes));
}

void StoreFile::keepAsIs(const std::string& why) {
    m_keptAsIs = true;
    if (m_problems) {
        m_problems->keptAsIs(m_path, why);
    }
}

void StoreFile::note(const std::string& line) const {
    if (m_problems) {
        m_problems->note(line);
    }
}

SaveResult StoreFile::reported(SaveResult result) {
    if (m_problems) {
        if (result) {
            m_problems->saved(m_path);
        } else {
            m_problems->saveFailed(m_path, result.error);
        }
    }
    return result;
}

bool capFieldLength(std::string& field) {
    if (field.size() <= kMaxFieldCharacters) {
        return false;
    }
    std::size_t characters = 0;
    for (std::size_t i = 0; i < field.size(); ++i) {
        // Continuation bytes of a UTF-8 sequence belong to the character before them.
        if ((static_cast<unsigned char>(field[i]) & 0xC0) != 0x80 &&
            ++characters > kMaxFieldCharacters) {
            field.resize(i);
            return true;
        }
    }
    return false;
}
