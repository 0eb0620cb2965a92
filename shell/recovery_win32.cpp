#include "shell/recovery_win32.h"

#include <shlobj.h>

#include <cstdint>
#include <vector>

#include "app/document_files.h"
#include "io/recovery.h"
#include "res/resource.h"
#include "screen/document.h"
#include "screen/undo.h"
#include "shell/base/language_win32.h"
#include "shell/base/modal_win32.h"
#include "shell/base/shell_win32.h"
#include "shell/base/text_win32.h"
#include "shell/document_win32.h"
#include "shell/safe_file_win32.h"

namespace {

constexpr UINT_PTR kRecoveryTimer = 3;
constexpr DWORD kCopyLimit = 64 * 1024;  // far more than a copy holds
const wchar_t kExtension[] = L".vxr";
const wchar_t kDamagedEnding[] = L"-damaged.txt";  // no start looks for these

std::wstring gFolderOverride;
std::wstring gRun;      // this run's name: its copy is <run>.vxr
HANDLE gAlive = nullptr;  // held while this run lasts, so others leave its copy alone
uint64_t gWritten = UINT64_MAX;  // the recovery stamp last written
bool gHaveCopy = false;

std::wstring RecoveryFolder()
{
    if (!gFolderOverride.empty()) return gFolderOverride;
    PWSTR local = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) folder = local;
    CoTaskMemFree(local);
    return folder.empty() ? folder : folder + L"\\Vexa\\Recovery";
}

std::wstring CopyOf(const std::wstring& run) { return RecoveryFolder() + L"\\" + run + kExtension; }
std::wstring AliveName(const std::wstring& run) { return L"Local\\Vexa recovery " + run; }

bool RunIsAlive(const std::wstring& run)
{
    HANDLE alive = OpenMutexW(SYNCHRONIZE, FALSE, AliveName(run).c_str());
    if (!alive) return false;
    CloseHandle(alive);
    return true;
}

bool Newer(const FILETIME& a, const FILETIME& b) { return CompareFileTime(&a, &b) > 0; }

// The newest copy whose run has ended, moved to this run's name so that no
// other run takes it too. False when there is none.
bool ClaimOrphan(FILETIME& when)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((RecoveryFolder() + L"\\*" + kExtension).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    std::wstring newest;
    do {
        std::wstring run = found.cFileName;
        run.resize(run.size() - (sizeof kExtension / sizeof kExtension[0] - 1));
        if (run == gRun || RunIsAlive(run)) continue;
        if (newest.empty() || Newer(found.ftLastWriteTime, when)) {
            newest = run;
            when = found.ftLastWriteTime;
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return !newest.empty() && MoveFileExW(CopyOf(newest).c_str(), CopyOf(gRun).c_str(), 0);
}

// A copy that cannot be read is put aside under a name no start looks for,
// and the user is told where, once: a person may still rescue what it holds.
void KeepDamagedCopy()
{
    const std::wstring kept = RecoveryFolder() + L"\\" + gRun + kDamagedEnding;
    gHaveCopy = false;
    if (MoveFileExW(CopyOf(gRun).c_str(), kept.c_str(), 0))
        ShowMessage(gShell.main, LoadText(IDS_RECOVERY_DAMAGED, kept), LoadText(IDS_CAPTION), MB_OK | MB_ICONWARNING);
}

}  // namespace

void UseRecoveryFolder(const std::wstring& folder) { gFolderOverride = folder; }

void StartRecovery()
{
    wchar_t run[40];
    swprintf(run, 40, L"%08lx-%016llx", GetCurrentProcessId(), static_cast<unsigned long long>(GetTickCount64()));
    gRun = run;
    gAlive = CreateMutexW(nullptr, FALSE, AliveName(gRun).c_str());
    gWritten = UINT64_MAX;
    gHaveCopy = false;
    const std::wstring folder = RecoveryFolder();
    if (!folder.empty()) SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    SetTimer(gShell.main, kRecoveryTimer, kRecoveryPeriodMs, nullptr);
}

bool StepRecovery(UINT_PTR timer)
{
    if (timer != kRecoveryTimer) return false;
    const RecoveryStep step = DueRecoveryStep(gHaveCopy, gWritten);
    if (step == RecoveryStep::Delete) DeleteRecoveryCopy();
    if (step != RecoveryStep::Write || RecoveryFolder().empty()) return true;
    if (WriteFileSafely(CopyOf(gRun), RecoveryCopyText(Narrow(gDocumentFile.path.c_str()))) == SafeWriteResult::Written) {
        gWritten = RecoveryStamp();
        gHaveCopy = true;
    }
    return true;
}

void OfferRecovery()
{
    FILETIME when = {};
    if (RecoveryFolder().empty() || !ClaimOrphan(when)) return;
    gHaveCopy = true;  // it is ours now: whatever follows, it goes or gets rewritten
    std::vector<uint8_t> bytes;
    std::string path;
    RecoveredSession recovered;
    const bool read = ReadFileBytes(CopyOf(gRun), kCopyLimit, LongerFile::Cut, bytes) &&
                      ReadRecoveryAside(reinterpret_cast<const char*>(bytes.data()), bytes.size(), path, recovered);
    WIN32_FILE_ATTRIBUTE_DATA file;
    const std::wstring documentPath = Widen(path.c_str());
    // A copy older than its file was overtaken by a save: nothing to offer.
    const bool overtaken = !documentPath.empty() &&
                           GetFileAttributesExW(documentPath.c_str(), GetFileExInfoStandard, &file) &&
                           !Newer(when, file.ftLastWriteTime);
    if (!read) {
        KeepDamagedCopy();
        return;
    }
    if (overtaken ||
        ShowMessage(gShell.main, LoadText(IDS_RECOVER), LoadText(IDS_CAPTION), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        DeleteRecoveryCopy();
        return;
    }
    if (documentPath.empty()) {
        gDocumentFile.path.clear();
        gDocumentFile.name.clear();
    } else {
        SetDocumentPath(documentPath);
        gDocumentFile.fileType = kBriselFileType;
    }
    RestoreRecoveredSession(recovered);  // also puts the name in the title
}

void DeleteRecoveryCopy()
{
    if (gHaveCopy && !gRun.empty()) DeleteFileW(CopyOf(gRun).c_str());
    gHaveCopy = false;
    gWritten = UINT64_MAX;
}

void StopRecovery()
{
    if (gShell.main) KillTimer(gShell.main, kRecoveryTimer);
    DeleteRecoveryCopy();
    if (gAlive) CloseHandle(gAlive);
    gAlive = nullptr;
}
