// Typed text as MZ-700 cells: the text kept between uses of the text dialog,
// and its conversion into a floating block laid out in horizontal lines or
// in vertical lines read right to left.
#pragma once
#include <cstddef>
#include <string>

constexpr size_t kTextBufferSize = 1024;  // Shift-JIS bytes with the terminator

struct TextInput {
    char text[kTextBufferSize];  // code page 932, zero-terminated
    bool vertical;
};
extern TextInput gTextInput;

void ResetTextInput();
// Keeps `shiftJis` (cut to 1023 bytes, never inside a double-byte
// character) and the layout for the next time the dialog opens.
void KeepText(const std::string& shiftJis, bool vertical);
// Turns the kept text into a floating block selected at (1, 1), in the
// Pen's colours. False, with nothing changed, when the text places no
// character (empty, or only line breaks).
bool ConvertText();
