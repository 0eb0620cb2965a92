#include "app/keys.h"

#include <cstring>

#include "res/resource.h"
#include "screen/pen.h"

namespace {

// Characters that run a command; in a run of commands the i-th character
// runs first + i, otherwise each runs `first`.
struct CharacterKeys {
    int first;
    const char* characters;
    bool run;
};
const CharacterKeys kCharacterKeys[] = {
    {IDT_SELECT, "m\x1B", false}, {IDT_PEN, "y", false},  {IDT_FILL, "p", false}, {IDT_MARK, "9", false},
    {IDT_SWAP, "x@", false},      {IDM_AUXPALETTE, " ", false},
    {IDT_FG0, "81234567", true},    // '8' is black
    {IDT_BG0, "(!\"#$%&'", true},   // '(' is black
};

struct PressedKey {
    Key key;
    bool ctrl;
    int command;
};
const PressedKey kPressedKeys[] = {
    {Key::F9, false, IDM_MARKBIT3},         {Key::F11, false, IDM_MARKDISPC0},
    {Key::Left, true, IDM_SHIFTLEFT},       {Key::Right, true, IDM_SHIFTRIGHT},
    {Key::Up, true, IDM_SHIFTUP},           {Key::Down, true, IDM_SHIFTDOWN},
};

}  // namespace

int CommandForCharacter(int character)
{
    if (character <= 0 || character > 0x7F) return 0;  // every key of ours is plain ASCII
    for (const CharacterKeys& k : kCharacterKeys) {
        const char* at = std::strchr(k.characters, character);
        if (!at) continue;
        return k.run ? k.first + static_cast<int>(at - k.characters) : k.first;
    }
    return 0;
}

int CommandForKey(Key key, bool ctrl)
{
    for (const PressedKey& k : kPressedKeys)
        if (k.key == key && k.ctrl == ctrl) return k.command;
    return 0;
}

bool MovePaletteByKey(Key key, bool ctrl)
{
    if (ctrl) return false;
    switch (key) {
    case Key::Left: MovePaletteCursor(PaletteDirection::Left); return true;
    case Key::Right: MovePaletteCursor(PaletteDirection::Right); return true;
    case Key::Up: MovePaletteCursor(PaletteDirection::Up); return true;
    case Key::Down: MovePaletteCursor(PaletteDirection::Down); return true;
    default: return false;
    }
}
