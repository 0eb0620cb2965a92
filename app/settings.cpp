#include "app/settings.h"

InterfaceSettings gInterface;

const SettingEntry kSettingsTable[] = {
    {"ShowGrid", &gView.ShowGrid, 1, 0, 1, true},
    {"Zoom", &gView.Zoom, 1, 0, kZoomLevels - 1, true},
    {"ZoomRatio", &gView.ZoomRatio, 1, 1, kZoomLevels - 1, true},
    {"MarkBit3", &gMarks.MarkBit3, 0, 0, 1, true},
    {"MarkDispc0", &gMarks.MarkDispc0, 0, 0, 1, true},
    {"MarkIsTransparent", &gMarks.MarkIsTransparent, 0, 0, 1, true},
    {"ShowStatusBar", &gView.ShowStatusBar, 0, 0, 1, true},
    {"GridType", &gView.GridType, 1, 0, 1, true},
    {"Language", &gInterface.Language, kJapanese, kJapanese, kEnglish, true},
    {"ShowOverlay", &gView.ShowOverlay, 0, 0, 1, false},
    {"ShowFrames", &gView.ShowFrames, 1, 0, 1, false},
    {nullptr, nullptr, 0, 0, 0, false},
};

void ResetSettings()
{
    for (const SettingEntry* e = kSettingsTable; e->key; ++e) *e->value = e->defaultValue;
}

void SanitizeSettings()
{
    for (const SettingEntry* e = kSettingsTable; e->key; ++e)
        if (*e->value < e->min || *e->value > e->max) *e->value = e->defaultValue;
}
