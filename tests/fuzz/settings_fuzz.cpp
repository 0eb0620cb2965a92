// The settings values and the recent-file list under any sequence of loads,
// additions and removals: values stay in range, a path added is listed once
// at the top, a path forgotten is gone, and no slot holds an over-long path.
#include <cstring>
#include <string>

#include "app/recent_files.h"
#include "app/settings.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Takes a path of up to 255 bytes (the first byte says how long) from the
// input; lengths past the slot size come from repeating it.
std::string TakePath(const uint8_t*& p, const uint8_t* end)
{
    if (p == end) return std::string();
    size_t n = *p++;
    const bool huge = n == 255;
    n = std::min<size_t>(n, static_cast<size_t>(end - p));
    std::string path(reinterpret_cast<const char*>(p), n);
    p += n;
    if (huge) path = std::string(kPathBytes + 1, path.empty() ? 'x' : path[0]);
    return path.c_str();  // the list takes zero-terminated text
}

void CheckList()
{
    for (int a = 0; a < kRecentFiles; ++a) {
        const char* pa = LookUpRecentFile(a);
        if (!pa) continue;
        FUZZ_CHECK(pa[0] && std::strlen(pa) < static_cast<size_t>(kPathBytes));
        for (int b = a + 1; b < kRecentFiles; ++b)
            FUZZ_CHECK(!LookUpRecentFile(b) || !SamePathIgnoringCase(pa, LookUpRecentFile(b)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ClearRecentFiles();
    ResetSettings();
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    while (p < end) {
        const uint8_t op = *p++ % 4;
        if (op == 0) {
            const std::string path = TakePath(p, end);
            const bool fits = !path.empty() && path.size() < static_cast<size_t>(kPathBytes);
            AddRecentFile(path.c_str());
            if (fits) FUZZ_CHECK(LookUpRecentFile(0) && SamePathIgnoringCase(LookUpRecentFile(0), path.c_str()));
        } else if (op == 1) {
            const std::string path = TakePath(p, end);
            ForgetRecentFile(path.c_str());
            for (int i = 0; i < kRecentFiles; ++i)
                FUZZ_CHECK(path.empty() || !LookUpRecentFile(i) || !SamePathIgnoringCase(LookUpRecentFile(i), path.c_str()));
        } else if (op == 2) {
            std::string paths[kRecentFiles];
            const char* pointers[kRecentFiles];
            for (int i = 0; i < kRecentFiles; ++i) {
                paths[i] = TakePath(p, end);
                pointers[i] = paths[i].c_str();
            }
            LoadRecentFiles(pointers);
        } else {
            // A stray value in the settings file for one of the keys.
            int32_t value = 0;
            const size_t n = std::min<size_t>(sizeof value, static_cast<size_t>(end - p));
            std::memcpy(&value, p, n);
            p += n;
            int count = 0;
            for (const SettingEntry* e = kSettingsTable; e->key; ++e) ++count;
            *kSettingsTable[static_cast<uint32_t>(value) % count].value = value;
            SanitizeSettings();
            for (const SettingEntry* e = kSettingsTable; e->key; ++e)
                FUZZ_CHECK(*e->value >= e->min && *e->value <= e->max);
        }
        CheckList();
    }
    return 0;
}
