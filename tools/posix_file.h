// Files on POSIX systems for the command-line tools: reading with a limit,
// and the safe write.
#pragma once
#include <string>
#include <vector>

#include "io/safe_write.h"

// Reads at most `limit` bytes; false (errno set) when the file cannot be
// read, or holds more than `limit` bytes (errno EFBIG).
bool ReadFileLimited(const std::string& path, size_t limit, std::vector<char>& out);

// The safe write to `path`; a link is written through to the file it names.
// `-` is standard output. `why` gets the system's reason on failure.
SafeWriteResult WriteFileSafely(const std::string& path, const std::string& bytes, std::string& why);
