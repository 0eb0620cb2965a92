// The screen for the real machine and for the web: an MZF tape image that
// shows it when loaded, Z80 assembler source of the same, a raw VRAM image,
// and the picture's pixels for PNG; the frames as an animated GIF
// (anim/animated_gif.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Where the monitor loads programs; the loader starts there.
constexpr uint16_t kLoadAddress = 0x1200;
constexpr uint16_t kTextVram = 0xD000;
constexpr uint16_t kColourVram = 0xD800;
constexpr size_t kMzfHeaderBytes = 128;
constexpr size_t kMzfNameChars = 16;

enum class ExportFormat { Mzf, Asm, Bin, Png, Gif };
// The file name extension of a format, without the dot.
const char* ExportExtension(ExportFormat format);
// From a file name's extension, case ignored; false when it names none.
bool ExportFormatOf(const std::string& path, ExportFormat& format);

// An MZF name of 16 characters at most: upper case, anything but A-Z, 0-9,
// blank and '-' (a character beyond ASCII counting as one) becoming '-'.
// "SCREEN" when nothing is left.
std::string MzfName(const std::string& text);
// The same from a file's name, its extension dropped.
std::string MzfNameOfFile(const std::string& fileName);

// The display codes then the attributes, 2000 bytes; `clearMarks` clears
// attribute bit 3, which the hardware ignores.
std::string VramImage(bool clearMarks);
// Header (the name as MzfName makes it), the loader and the VRAM image.
std::string MzfImage(const std::string& name, bool clearMarks);
// An MZF tape image of a machine-code program loaded and run at 1200H.
std::string MzfFile(const std::string& name, const std::string& body);
// The same program as Z80 source that the common cross-assemblers accept.
std::string AssemblerSource(const std::string& name, bool clearMarks);

// The canvas as it shows at zoom factor k, without grid or marks: 320 k x
// 200 k pixels, top row first, 0xRRGGBB.
std::vector<uint32_t> ScreenPicture(int k);
