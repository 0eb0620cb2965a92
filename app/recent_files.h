// The list of the nine most recently used screen files, most recent first.
#pragma once
#include <cstdint>

constexpr int kRecentFiles = 9;
// Paths are kept as UTF-8; a Windows path of up to 260 UTF-16 units takes at
// most 780 bytes.
constexpr int kPathBytes = 1024;

struct RecentFileList {
    char slots[kRecentFiles][kPathBytes];  // an empty text marks a free slot
    int32_t order[kRecentFiles];           // position -> slot, -1 for none
};

extern RecentFileList gRecentFiles;

void ClearRecentFiles();
// Fills slot i with paths[i] (position i), as the settings file lists them;
// an empty or over-long path, or one listed before, leaves its position empty.
void LoadRecentFiles(const char* const paths[kRecentFiles]);
// The path at position 0-8, or nullptr.
const char* LookUpRecentFile(int position);
// Both return whether the list changed.
bool AddRecentFile(const char* path);
bool ForgetRecentFile(const char* path);

// Path comparison that ignores letter case, for the common alphabets; the
// list uses it unless the host has a rule of its own.
bool SamePathIgnoringCase(const char* a, const char* b);
