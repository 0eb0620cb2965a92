// The recovery copy on disk: kept up to date while the document has unsaved
// changes, deleted when they are saved or given up, and offered back at the
// next start when the editor ended without either.
#pragma once
#include <windows.h>

#include <string>

// This run's own copy and its timer; call once the main window exists.
void StartRecovery();
// Timer ticks: the copy follows the document. False for other timers.
bool StepRecovery(UINT_PTR timer);
// A copy left by a run that did not end cleanly, newer than its file: asks
// whether to take it back as the modified document.
void OfferRecovery();
void DeleteRecoveryCopy();
// Stops the timer and removes this run's copy (a clean exit).
void StopRecovery();
// Where the copies live; tests keep theirs apart. Empty: the user's local
// application data.
void UseRecoveryFolder(const std::wstring& folder);
