#include "app/document_files.h"

#include "anim/frames.h"
#include "io/recovery.h"
#include "io/screen_file.h"
#include "render/view.h"
#include "screen/document.h"
#include "screen/undo.h"

bool OpenScreenText(const char* text, size_t size)
{
    ForceModifiedReport();
    if (!ReadScreenFile(text, size, nullptr)) return false;
    ClearHistory();
    RedrawCanvas();
    return true;
}

uint64_t RecoveryStamp() { return gDoc.history.changes + FrameChanges(); }

RecoveryStep DueRecoveryStep(bool haveCopy, uint64_t written)
{
    if (!IsModified()) return haveCopy ? RecoveryStep::Delete : RecoveryStep::Nothing;
    return RecoveryStamp() == written ? RecoveryStep::Nothing : RecoveryStep::Write;
}

std::string RecoveryCopyText(const std::string& path) { return RecoveryText(path, gFrames); }

bool ReadRecoveryAside(const char* text, size_t size, std::string& path, RecoveredSession& recovered)
{
    const ScreenBuffer shown = gDoc.screen;
    const bool read = ReadRecovery(text, size, path, recovered.frames);
    recovered.screen = gDoc.screen;
    gDoc.screen = shown;
    return read;
}

void RestoreRecoveredSession(const RecoveredSession& recovered)
{
    gDoc.screen = recovered.screen;
    ReplaceFrames(recovered.frames);
    ClearHistory();
    MarkUnsaved();  // also puts the modified mark in the title
    RedrawCanvas();
}
