#include "app/settings.h"

int32_t ShowGrid = 1;
int32_t Zoom = 1;
int32_t ZoomRatio = 1;
int32_t MarkBit3 = 0;
int32_t MarkDispc0 = 0;
int32_t MarkIsTransparent = 0;
int32_t ShowStatusBar = 0;
int32_t GridType = 1;
int32_t ShowOverlay = 0;
int32_t ShowFrames = 1;

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
