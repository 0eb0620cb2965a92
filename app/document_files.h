// What the editor does with the bytes of a screen file or a recovery copy,
// the same for every front end; reading and writing the files themselves,
// and naming the document, are the front end's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "screen/screen.h"

// An opened file's text becomes the screen with a fresh history. False,
// with the screen as it was, when it is not a screen file.
bool OpenScreenText(const char* text, size_t size);

// How often the recovery timer runs: a crash loses at most this much.
constexpr int kRecoveryPeriodMs = 2000;
// What the recovery timer does now: the copy goes once the document is no
// longer modified, and is rewritten only when the history changed since
// the copy last written (`written`, UINT64_MAX for none).
enum class RecoveryStep { Nothing, Write, Delete };
RecoveryStep DueRecoveryStep(bool haveCopy, uint64_t written);

// A recovery copy read without touching the screen: false when it is not a
// whole copy.
bool ReadRecoveryAside(const char* text, size_t size, std::string& path, ScreenBuffer& recovered);
// The recovered screen replaces the shown one, modified until saved.
void RestoreRecoveredScreen(const ScreenBuffer& recovered);
