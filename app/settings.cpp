#include "app/settings.h"

const SettingEntry kSettingsTable[] = {
    {"ShowGrid", &ShowGrid, 1, 0, 1},
    {"Zoom", &Zoom, 1, 0, kZoomLevels - 1},
    {"ZoomRatio", &ZoomRatio, 1, 1, kZoomLevels - 1},
    {"MarkBit3", &MarkBit3, 0, 0, 1},
    {"MarkDispc0", &MarkDispc0, 0, 0, 1},
    {"MarkIsTransparent", &MarkIsTransparent, 0, 0, 1},
    {"ShowStatusBar", &ShowStatusBar, 0, 0, 1},
    {"GridType", &GridType, 1, 0, 1},
    {nullptr, nullptr, 0, 0, 0},
};

void ResetSettings()
{
    for (const SettingEntry* e = kSettingsTable; e->key; ++e) *e->value = e->defaultValue;
    ShowOverlay = 0;
    ShowFrames = 1;
}

void SanitizeSettings()
{
    for (const SettingEntry* e = kSettingsTable; e->key; ++e)
        if (*e->value < e->min || *e->value > e->max) *e->value = e->defaultValue;
}
