// What the editor does with the bytes of a screen file or a recovery copy,
// the same for every front end; reading and writing the files themselves,
// and naming the document, are the front end's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/frames_file.h"
#include "screen/screen.h"

// An opened file's text becomes the screen with a fresh history. False,
// with the screen as it was, when it is not a screen file.
bool OpenScreenText(const char* text, size_t size);

// How often the recovery timer runs: a crash loses at most this much.
constexpr int kRecoveryPeriodMs = 2000;
// What the editor's state has come to: it grows with every change of the
// history or of the frames, so that a copy can tell whether it is behind.
uint64_t RecoveryStamp();
// What the recovery timer does now: the copy goes once the document is no
// longer modified, and is rewritten only when the stamp moved on since the
// copy last written (`written`, UINT64_MAX for none).
enum class RecoveryStep { Nothing, Write, Delete };
RecoveryStep DueRecoveryStep(bool haveCopy, uint64_t written);
// The copy's text for the document's `path`: the screen and the frames.
std::string RecoveryCopyText(const std::string& path);

// What a recovery copy brings back besides the document's path.
struct RecoveredSession {
    ScreenBuffer screen;
    Frame frames[kFrameCount];
};
// A recovery copy read without touching the screen or the frames: false
// when it is not a whole copy.
bool ReadRecoveryAside(const char* text, size_t size, std::string& path, RecoveredSession& recovered);
// The recovered screen and frames replace the shown ones, the screen
// modified until saved.
void RestoreRecoveredSession(const RecoveredSession& recovered);
