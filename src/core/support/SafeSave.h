#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// The outcome of writing a file: written, or why not ("28 - No space left on device").
struct SaveResult {
    std::string error; // empty when the file was written

    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }
    static SaveResult failed(std::string reason) { return {std::move(reason)}; }
};

/// Replaces the file at path with bytes so that a crash never leaves a truncated file: the bytes
/// go to a temporary file beside it, which is flushed to the disk and then renamed over the old
/// file. A symbolic link is written through: its target is replaced and the link stays. The
/// new file keeps the old one's permissions. On failure the old file is untouched.
SaveResult safeSave(const std::string& path, std::string_view bytes);

/// A file written in full beside the file it is to replace and flushed to the disk, but not
/// yet in its place: several files can be staged and then put in place together, or dropped
/// without any of them having changed. Dropped on destruction unless committed.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    /// Writes bytes to a temporary file beside path (see safeSave); on failure nothing stays.
    SaveResult stage(const std::string& path, std::string_view bytes);
    /// Renames the staged file over its target.
    SaveResult commit();

private:
    void discard();

    std::string m_temporary; // UTF-8; empty when nothing is staged
    std::string m_target;
};

/// Writes bytes over an existing file from byte offset `from` on and flushes them to the disk,
/// and only then cuts what is left of the old end: appending a line, or rewriting the last
/// ones, without rewriting the whole file, and never shorter than before until the new bytes
/// are durable. Changes nothing and fails when the file is not expectedSize bytes long, since
/// then someone else has changed it.
SaveResult replaceFileTail(const std::string& path, std::uint64_t expectedSize, std::uint64_t from,
                           std::string_view bytes);

/// Whether a file name is one of safeSave's temporary files ("calls.txt.tmp-<stamp>-<n>").
bool isSafeSaveTemporary(std::string_view fileName);

/// Removes the temporary files that a killed process left in the folder (only safeSave's own
/// names); returns how many went.
int removeLeftoverTemporaries(const std::string& dir);
