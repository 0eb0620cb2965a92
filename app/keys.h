// The keys of the editor: typed characters and pressed keys that run
// commands or move the palette cursor, for every front end alike. (The
// Ctrl-letter shortcuts of the menus are the platform's accelerators.)
#pragma once

enum class Key { Left, Right, Up, Down, F9, F11, Other };

// The command a typed character (a Unicode code point) runs, or 0 for none.
int CommandForCharacter(int character);
// The command a pressed key runs with Ctrl held or not, or 0 for none.
int CommandForKey(Key key, bool ctrl);
// An arrow key without Ctrl moves the palette cursor; false for any other.
bool MovePaletteByKey(Key key, bool ctrl);
