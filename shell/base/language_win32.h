// The interface in the language the user chose: texts, the menu and the
// dialogs, each taken from the resources of that language.
#pragma once
#include <windows.h>

#include <string>

// The resources' language for the interface's language setting.
LANGID InterfaceLanguage();

// Text `id` of the string table; empty when there is none.
std::wstring LoadText(int id);
// Text `id` with its one "%s" or "%d" taken by `value`.
std::wstring LoadText(int id, const std::wstring& value);

HMENU LoadInterfaceMenu();
// The dialog template `id`, modal or modeless.
INT_PTR InterfaceDialogBox(int id, HWND owner, DLGPROC proc, LPARAM param);
HWND CreateInterfaceDialog(int id, HWND owner, DLGPROC proc, LPARAM param);
