// Files on Windows: long paths, reading with a limit, and the safe write
// that saving and the recovery copy use.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/safe_write.h"

// A path the file functions accept at any length.
std::wstring Extended(const std::wstring& path);

// What reading does with a file longer than its limit: reads only its
// start, or refuses it without reading.
enum class LongerFile { Cut, Refuse };
// The file at `path` into `bytes`, at most `limit` bytes of it. False when
// it cannot be opened, read or held in memory, or is refused.
bool ReadFileBytes(const std::wstring& path, size_t limit, LongerFile longer, std::vector<uint8_t>& bytes);

// The safe write: a file of our own beside `path`, flushed, then put in its
// place with ReplaceFileW, which keeps the replaced file's attributes and
// permissions. `why`, when given, gets the reason it was not written.
SafeWriteResult WriteFileSafely(const std::wstring& path, const std::string& bytes, WriteFailure* why = nullptr);
