// The recovery copy: the screen and the document's path, kept while the
// document has unsaved changes, so that a picture outlives a crash.
#pragma once
#include <cstddef>
#include <string>

// The copy's text for the Screen buffer and `path` (UTF-8, may be empty).
std::string RecoveryText(const std::string& path);
// Reads a copy into the Screen buffer and `path`; false, with both as they
// were, when the text is not a whole recovery copy.
bool ReadRecovery(const char* text, size_t size, std::string& path);
