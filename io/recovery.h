// The recovery copy: the screen, the document's path and the frames, kept
// while the document has unsaved changes, so that a picture outlives a crash.
#pragma once
#include <cstddef>
#include <string>

#include "io/frames_file.h"

// The copy's text for the Screen buffer, `path` (UTF-8, may be empty) and
// `frames`.
std::string RecoveryText(const std::string& path, const Frame frames[kFrameCount]);
// Reads a copy into the Screen buffer, `path` and `frames`; false, with all
// three as they were, when the text is not a whole recovery copy. A copy
// from before frames were kept gives no frames.
bool ReadRecovery(const char* text, size_t size, std::string& path, Frame frames[kFrameCount]);
