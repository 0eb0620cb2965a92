// The view settings' defaults and ranges, and the table that stores them in
// the "Config" section of the settings file, in the order the file holds them.
#pragma once
#include <cstdint>

#include "render/view_settings.h"

struct SettingEntry {
    const char* key;  // nullptr ends the table
    int32_t* value;
    int32_t defaultValue;
    int32_t min;
    int32_t max;
    bool kept;  // stored in the settings file; the rest last for one run
};

extern const SettingEntry kSettingsTable[];

// The language of menus, dialogs and messages, kept as "Language".
constexpr int32_t kJapanese = 0;
constexpr int32_t kEnglish = 1;
struct InterfaceSettings {
    int32_t Language;
};
extern InterfaceSettings gInterface;

// Every setting back to its default.
void ResetSettings();
// A value outside its range (a hand-edited or damaged file) falls back to
// its default: a stray number says nothing reliable about what was meant.
void SanitizeSettings();
