// Small helpers the shell's tests share: windows of a process, waiting,
// window text, whole files.
#pragma once
#include <windows.h>

#include <string>

// A visible top-level window of class `cls` (and caption, when given)
// belonging to process `pid`.
inline HWND FindProcessWindow(const wchar_t* cls, DWORD pid, const wchar_t* caption = nullptr)
{
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, cls, caption)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// Polls `condition` until it holds (true) or `limitMs` pass (false).
template <typename Condition>
bool WaitUntil(Condition condition, DWORD limitMs = 15000)
{
    for (const ULONGLONG end = GetTickCount64() + limitMs; !condition(); Sleep(10))
        if (GetTickCount64() >= end) return false;
    return true;
}

inline std::wstring TextOf(HWND window)
{
    const int n = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], n + 1)));
    return text;
}

// The file's bytes, or "<missing>" when it cannot be opened.
inline std::string ReadWholeFile(const std::wstring& path)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(f);
    return bytes;
}

// Replaces the file with `bytes`; false when not all could be written.
inline bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}
