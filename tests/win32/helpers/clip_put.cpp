// Another program that puts text on the clipboard: the bytes of the file
// named on its command line, exactly as they are (no terminating zero is
// added), as CF_TEXT. Exits 0 when the clipboard took them.
#include <windows.h>

#include <vector>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    std::vector<char> bytes(1 << 16);
    DWORD got = 0;
    const BOOL read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    if (!read) return 2;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, got ? got : 1);
    if (!memory) return 1;
    if (got) {
        char* p = static_cast<char*>(GlobalLock(memory));
        CopyMemory(p, bytes.data(), got);
        GlobalUnlock(memory);
    }
    if (!OpenClipboard(nullptr)) return 1;
    EmptyClipboard();
    const bool taken = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    return taken ? 0 : 1;
}
