#include "shell/settings_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "app/recent_files.h"
#include "app/settings.h"
#include "shell/base/text_win32.h"

namespace {

const wchar_t kSettingsFile[] = L"Vexa.ini";
const wchar_t kConfigSection[] = L"Config";
const wchar_t kRecentSection[] = L"RecentFiles";
constexpr DWORD kMaxFolderChars = 32768;
constexpr DWORD kMaxValueChars = 1 << 20;  // beyond any path: only a damaged file has more

std::wstring gSettingsPath;

std::wstring RecentKey(int n) { return L"RecentFile" + std::to_wstring(n); }

// A value read whole, however long: the buffer grows until the value fits,
// so an over-long path is seen as such and never cut into a shorter one.
std::wstring ReadProfileString(const wchar_t* section, const std::wstring& key, const std::wstring& file)
{
    for (DWORD size = kPathBytes;; size *= 2) {
        std::vector<wchar_t> value(size);
        const DWORD n = GetPrivateProfileStringW(section, key.c_str(), L"", value.data(), size, file.c_str());
        if (n < size - 1 || size >= kMaxValueChars) return std::wstring(value.data(), n);
    }
}

// The profile functions write Unicode only into a file that starts with a
// UTF-16 byte-order mark; in any other file, paths outside the system's code
// page would turn into question marks. Create the file that way, or convert
// an existing one, keeping every line.
void MakeSettingsFileUnicode()
{
    HANDLE f = CreateFileW(gSettingsPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string bytes;
    if (f != INVALID_HANDLE_VALUE) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
        CloseHandle(f);
        if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
            static_cast<unsigned char>(bytes[1]) == 0xFE)
            return;
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return;  // there but unreadable: leave it to the profile functions
    }
    const bool utf8Mark = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (utf8Mark) bytes.erase(0, 3);
    // Text that is valid UTF-8 is taken as such; anything else was written
    // in the system's code page.
    const bool utf8 = utf8Mark || bytes.empty() ||
                      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                          nullptr, 0) > 0;
    const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
    std::wstring text(1, L'\xFEFF');
    if (!bytes.empty()) {
        const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        std::wstring converted(static_cast<size_t>(n), L'\0');
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &converted[0], n);
        text += converted;
    }
    const std::wstring temp = gSettingsPath + L".new";
    HANDLE out = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    const bool ok = WriteFile(out, text.data(), size, &written, nullptr) && written == size;
    CloseHandle(out);
    if (!ok || !MoveFileExW(temp.c_str(), gSettingsPath.c_str(), MOVEFILE_REPLACE_EXISTING))
        DeleteFileW(temp.c_str());
}

// A profile section block: "key=value" lines, each ended by a zero, and one
// more zero at the end.
void AppendLine(std::wstring& block, const std::wstring& line)
{
    block += line;
    block.push_back(L'\0');
}

}  // namespace

bool SamePathOnThisSystem(const char* a, const char* b)
{
    return CompareStringOrdinal(Widen(a).c_str(), -1, Widen(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

void LoadSettings()
{
    std::vector<wchar_t> folder(kMaxFolderChars);
    const DWORD n = GetCurrentDirectoryW(kMaxFolderChars, folder.data());
    gSettingsPath = n > 0 && n < kMaxFolderChars ? std::wstring(folder.data(), n) + L"\\" + kSettingsFile
                                                  : std::wstring(kSettingsFile);

    ResetSettings();
    for (const SettingEntry* e = kSettingsTable; e->key; ++e)
        if (e->kept)
            *e->value = static_cast<int32_t>(
                GetPrivateProfileIntW(kConfigSection, Widen(e->key).c_str(), e->defaultValue, gSettingsPath.c_str()));
    SanitizeSettings();

    std::string paths[kRecentFiles];
    const char* pointers[kRecentFiles];
    for (int i = 0; i < kRecentFiles; ++i) {
        paths[i] = Narrow(ReadProfileString(kRecentSection, RecentKey(i + 1), gSettingsPath).c_str());
        pointers[i] = paths[i].c_str();
    }
    LoadRecentFiles(pointers);
}

void SaveSettings()
{
    MakeSettingsFileUnicode();

    std::wstring config;
    for (const SettingEntry* e = kSettingsTable; e->key; ++e)
        if (e->kept) AppendLine(config, Widen(e->key) + L"=" + std::to_wstring(*e->value));
    config.push_back(L'\0');
    WritePrivateProfileSectionW(kConfigSection, config.c_str(), gSettingsPath.c_str());

    std::wstring recent;
    for (int p = 0; p < kRecentFiles; ++p) {
        const char* path = LookUpRecentFile(p);
        AppendLine(recent, RecentKey(p + 1) + L"=" + (path ? Widen(path) : std::wstring()));
    }
    recent.push_back(L'\0');
    WritePrivateProfileSectionW(kRecentSection, recent.c_str(), gSettingsPath.c_str());
}
