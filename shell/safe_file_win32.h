// Files on Windows: long paths, and the safe write that saving and the
// recovery copy use.
#pragma once
#include <string>

#include "io/safe_write.h"

// A path the file functions accept at any length.
std::wstring Extended(const std::wstring& path);
// The safe write: a file of our own beside `path`, flushed, then put in its
// place with ReplaceFileW, which keeps the replaced file's attributes and
// permissions.
SafeWriteResult WriteFileSafely(const std::wstring& path, const std::string& bytes);
