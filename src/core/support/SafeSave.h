#pragma once

#include <string>
#include <string_view>

/// Replaces the file at path with bytes so that a crash never leaves a truncated file: the bytes
/// go to a temporary file in the same folder, which is flushed to the disk and then renamed
/// over the old file. On failure the old file is untouched and false is returned.
bool safeSave(const std::string& path, std::string_view bytes);
