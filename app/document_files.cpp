#include "app/document_files.h"

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

RecoveryStep DueRecoveryStep(bool haveCopy, uint64_t written)
{
    if (!IsModified()) return haveCopy ? RecoveryStep::Delete : RecoveryStep::Nothing;
    return gDoc.history.changes == written ? RecoveryStep::Nothing : RecoveryStep::Write;
}

bool ReadRecoveryAside(const char* text, size_t size, std::string& path, ScreenBuffer& recovered)
{
    const ScreenBuffer shown = gDoc.screen;
    const bool read = ReadRecovery(text, size, path);
    recovered = gDoc.screen;
    gDoc.screen = shown;
    return read;
}

void RestoreRecoveredScreen(const ScreenBuffer& recovered)
{
    gDoc.screen = recovered;
    ClearHistory();
    MarkUnsaved();  // also puts the modified mark in the title
    RedrawCanvas();
}
