// Reading and writing "Vexa.ini" in the working directory.
#pragma once

// Reads the view settings and the recent-file list; a missing file gives the
// defaults and an empty list.
void LoadSettings();
// Replaces the "Config" and "RecentFiles" sections; other sections stay.
void SaveSettings();
// The settings file's full path, fixed by LoadSettings.
const wchar_t* SettingsPath();
