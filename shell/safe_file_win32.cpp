#include "shell/safe_file_win32.h"

#include <windows.h>

#include <algorithm>
#include <new>

namespace {

constexpr unsigned kTempAttempts = 100;

// The reason a call that set `error` gave for failing.
WriteFailure FailureOf(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return WriteFailure::DiskFull;
    case ERROR_ACCESS_DENIED: return WriteFailure::NoAccess;
    case ERROR_WRITE_PROTECT: return WriteFailure::ReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return WriteFailure::InUse;
    case ERROR_PATH_NOT_FOUND: return WriteFailure::NoFolder;
    default: return WriteFailure::Unknown;
    }
}

bool WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

class WindowsTarget {
public:
    explicit WindowsTarget(const std::wstring& path) : path_(path), target_(Extended(path)) {}

    TargetKind Inspect(bool& inspected)
    {
        const DWORD attributes = GetFileAttributesW(target_.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            error_ = GetLastError();
            inspected = error_ == ERROR_FILE_NOT_FOUND || error_ == ERROR_PATH_NOT_FOUND;
            return TargetKind::Missing;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return TargetKind::Directory;
        existed_ = true;
        readOnly_ = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
        if (readOnly_) return TargetKind::Regular;
        // A file we may not write to (no rights, locked) is not replaced
        // either; a device or a pipe is written as it is.
        HANDLE probe = CreateFileW(target_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            error_ = GetLastError();
            readOnly_ = true;
            return TargetKind::Regular;
        }
        const bool disk = GetFileType(probe) == FILE_TYPE_DISK;
        CloseHandle(probe);
        return disk ? TargetKind::Regular : TargetKind::Special;
    }

    bool ReadOnly() const { return readOnly_; }

    bool WriteDirect(const std::string& bytes)
    {
        HANDLE file = CreateFileW(target_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return Failed();
        const bool ok = WriteAll(file, bytes) || Failed();
        return CloseHandle(file) && ok;
    }

    // A new, empty file of our own beside the target, never one that was there.
    bool WriteTemp(const std::string& bytes)
    {
        const std::wstring folder = path_.substr(0, path_.find_last_of(L"\\/") + 1);
        HANDLE file = INVALID_HANDLE_VALUE;
        for (unsigned attempt = 0; attempt < kTempAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
            wchar_t name[32];
            swprintf(name, 32, L"~vexa%04lx%02x.tmp", GetCurrentProcessId() & 0xFFFF, attempt);
            temp_ = Extended(folder + name);
            file = CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
        }
        if (file == INVALID_HANDLE_VALUE) {
            Failed();
            temp_.clear();
            return false;
        }
        bool ok = WriteAll(file, bytes) || Failed();
        ok = (FlushFileBuffers(file) || Failed()) && ok;
        return CloseHandle(file) && ok;
    }

    bool Replace()
    {
        return (existed_ ? ReplaceFileW(target_.c_str(), temp_.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                        nullptr, nullptr)
                         : MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH)) ||
               Failed();
    }

    void RemoveTemp()
    {
        if (!temp_.empty()) DeleteFileW(temp_.c_str());
    }

    // Why the write did not happen, after SafeWrite gave `result`.
    WriteFailure FailureFor(SafeWriteResult result) const
    {
        switch (result) {
        case SafeWriteResult::Written: return WriteFailure::Unknown;
        case SafeWriteResult::NotAFile: return WriteFailure::Folder;
        case SafeWriteResult::ReadOnly:  // the attribute, or a file that would not open for writing
            return error_ ? FailureOf(error_) : WriteFailure::ReadOnly;
        case SafeWriteResult::Failed: break;
        }
        return FailureOf(error_);
    }

private:
    // Keeps the reason of the call that just failed; always false.
    bool Failed()
    {
        error_ = GetLastError();
        return false;
    }

    std::wstring path_, target_, temp_;
    bool existed_ = false, readOnly_ = false;
    DWORD error_ = 0;
};

}  // namespace

std::wstring Extended(const std::wstring& path)
{
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0) return path;
    if (path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

bool ReadFileBytes(const std::wstring& path, size_t limit, LongerFile longer, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    HANDLE file =
        CreateFileW(Extended(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && (longer == LongerFile::Cut || static_cast<uint64_t>(size.QuadPart) <= limit);
    if (ok) {
        try {
            bytes.resize(static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(size.QuadPart), limit)));
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    DWORD got = 0;
    ok = ok && (bytes.empty() || ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr));
    CloseHandle(file);
    bytes.resize(ok ? got : 0);
    return ok;
}

SafeWriteResult WriteFileSafely(const std::wstring& path, const std::string& bytes, WriteFailure* why)
{
    WindowsTarget target(path);
    const SafeWriteResult result = SafeWrite(target, bytes);
    if (why) *why = target.FailureFor(result);
    return result;
}
