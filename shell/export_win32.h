// Exports of the screen from the editor: chosen in a save dialog, made by
// the core, PNG encoded by the platform, written safely.
#pragma once
#include <windows.h>

#include <string>

#include "io/exports.h"
#include "io/safe_write.h"

// The dialog, then the file; a failure is reported as saving reports it.
void ExportScreen(HWND owner, ExportFormat format);
// The export itself into `path`: true when written, else `why` says why.
bool ExportScreenTo(const std::wstring& path, ExportFormat format, WriteFailure& why);
// The frames as an MZF: a refusal is shown before any dialog.
void ExportAnimationMzf(HWND owner);
