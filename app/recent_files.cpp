#include "app/recent_files.h"

#include <cstring>

#include "screen/host.h"

RecentFileList gRecentFiles;

namespace {

// Decodes one UTF-8 sequence; malformed bytes stand for themselves.
uint32_t NextCodePoint(const unsigned char*& s)
{
    const uint32_t b = *s++;
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    uint32_t cp = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
    for (; extra > 0; --extra) {
        if ((*s & 0xC0) != 0x80) return b;
        cp = (cp << 6) | (*s++ & 0x3F);
    }
    return cp;
}

uint32_t FoldCase(uint32_t c)
{
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;    // Latin-1
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;  // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;                // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;              // full-width Latin
    return c;
}

bool Fits(const char* path) { return std::strlen(path) < static_cast<size_t>(kPathBytes); }

// The host's rule when it has one: it knows every alphabet the file system does.
bool SamePath(const char* a, const char* b) { return (gHost.samePath ? gHost.samePath : SamePathIgnoringCase)(a, b); }

}  // namespace

bool SamePathIgnoringCase(const char* a, const char* b)
{
    auto* p = reinterpret_cast<const unsigned char*>(a);
    auto* q = reinterpret_cast<const unsigned char*>(b);
    while (*p && *q)
        if (FoldCase(NextCodePoint(p)) != FoldCase(NextCodePoint(q))) return false;
    return *p == *q;
}

void ClearRecentFiles()
{
    for (int i = 0; i < kRecentFiles; ++i) {
        gRecentFiles.slots[i][0] = '\0';
        gRecentFiles.order[i] = -1;
    }
}

void LoadRecentFiles(const char* const paths[kRecentFiles])
{
    ClearRecentFiles();
    for (int i = 0; i < kRecentFiles; ++i) {
        if (!paths[i] || !paths[i][0] || !Fits(paths[i])) continue;
        bool listed = false;  // a hand-edited file may name one twice: the first counts
        for (int j = 0; j < i && !listed; ++j) listed = gRecentFiles.slots[j][0] && SamePath(gRecentFiles.slots[j], paths[i]);
        if (listed) continue;
        std::strcpy(gRecentFiles.slots[i], paths[i]);
        gRecentFiles.order[i] = i;
    }
}

const char* LookUpRecentFile(int position)
{
    if (position < 0 || position >= kRecentFiles) return nullptr;
    const int slot = gRecentFiles.order[position];
    return slot < 0 ? nullptr : gRecentFiles.slots[slot];
}

bool AddRecentFile(const char* path)
{
    if (!path || !path[0] || !Fits(path)) return false;
    int32_t* order = gRecentFiles.order;
    for (int s = 0; s < kRecentFiles; ++s) {
        if (!gRecentFiles.slots[s][0] || !SamePath(gRecentFiles.slots[s], path))
            continue;
        // Already listed: move it to the top, keeping the letter case it was
        // first stored in.
        int j = 0;
        while (j < kRecentFiles && order[j] != s) ++j;
        if (j == kRecentFiles) return false;
        for (int k = j; k > 0; --k) order[k] = order[k - 1];
        order[0] = s;
        return true;
    }
    if (order[kRecentFiles - 1] >= 0) gRecentFiles.slots[order[kRecentFiles - 1]][0] = '\0';
    int free = 0;
    while (free < kRecentFiles && gRecentFiles.slots[free][0]) ++free;
    if (free == kRecentFiles) return false;
    for (int k = kRecentFiles - 1; k > 0; --k) order[k] = order[k - 1];
    std::strcpy(gRecentFiles.slots[free], path);
    order[0] = free;
    return true;
}

bool ForgetRecentFile(const char* path)
{
    if (!path || !path[0]) return false;
    int32_t* order = gRecentFiles.order;
    bool changed = false;
    for (int s = 0; s < kRecentFiles; ++s) {
        if (!gRecentFiles.slots[s][0] || !SamePath(gRecentFiles.slots[s], path))
            continue;
        gRecentFiles.slots[s][0] = '\0';
        changed = true;
        for (int j = 0; j < kRecentFiles; ++j) {
            if (order[j] != s) continue;
            for (int k = j; k < kRecentFiles - 1; ++k) order[k] = order[k + 1];
            order[kRecentFiles - 1] = -1;
            break;
        }
    }
    return changed;
}
