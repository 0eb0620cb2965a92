// The main window's title: the document's name, its modified mark and the
// program's title, within the length the title has always had.
#pragma once
#include <string>

// `name` and the result are UTF-8. Lengths are counted as the Japanese code
// page counts them (one for ASCII and half-width katakana, two for any other
// character): the name takes at most 73, the program title fills up to 76,
// and "..." follows a program title that did not fit whole. An untitled
// document shows `untitled`, the word for it in the interface's language.
std::string BuildTitle(const std::string& name, bool modified, const std::string& untitled);
