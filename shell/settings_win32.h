// Reading and writing "Vexa.ini" in the working directory.
#pragma once

// Reads the view settings and the recent-file list; a missing file gives the
// defaults and an empty list.
void LoadSettings();
// Replaces the "Config" and "RecentFiles" sections; other sections stay.
void SaveSettings();
// Whether two file names name the same file, by the file system's rule of
// letter case.
bool SamePathOnThisSystem(const char* a, const char* b);
