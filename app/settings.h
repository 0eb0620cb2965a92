// The view settings and the table that stores them in the "Config" section
// of the settings file.
#pragma once
#include <cstdint>

constexpr int kZoomLevels = 8;

// Persistent settings, each stored under its own name.
extern int32_t ShowGrid;
extern int32_t Zoom;       // zoom index 0-7, magnification index + 1
extern int32_t ZoomRatio;  // 1-7, the zoom Ctrl+E returns to
extern int32_t MarkBit3;
extern int32_t MarkDispc0;
extern int32_t MarkIsTransparent;
extern int32_t ShowStatusBar;
extern int32_t GridType;   // 0 dot, 1 cross
// For this run only.
extern int32_t ShowOverlay;
extern int32_t ShowFrames;

struct SettingEntry {
    const char* key;  // nullptr ends the table
    int32_t* value;
    int32_t defaultValue;
    int32_t min;
    int32_t max;
};

// In the order the file holds them.
extern const SettingEntry kSettingsTable[];

// Every setting back to its default.
void ResetSettings();
// A value outside its range (a hand-edited or damaged file) falls back to
// its default: a stray number says nothing reliable about what was meant.
void SanitizeSettings();
