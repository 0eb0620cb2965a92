#include "io/exports.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>

#include "render/font.h"
#include "render/view.h"
#include "screen/document.h"
#include "screen/screen.h"

namespace {

constexpr uint8_t kMachineCode = 0x01;
constexpr char kNameEnd = 0x0D;
constexpr size_t kLoaderBytes = 25;

// DI (so that nothing runs the monitor's interrupt handler) / LD HL,codes /
// LD DE,D000H / LD BC,1000 / LDIR, the same for the attributes, then JR to
// itself: the picture stays on the screen.
std::string Loader()
{
    const uint16_t codes = kLoadAddress + kLoaderBytes, attrs = codes + kCellCount;
    const auto lo = [](uint16_t v) { return static_cast<char>(v & 0xFF); };
    const auto hi = [](uint16_t v) { return static_cast<char>(v >> 8); };
    const std::string loader = {
        '\xF3',
        '\x21', lo(codes), hi(codes), '\x11', lo(kTextVram), hi(kTextVram), '\x01', lo(kCellCount), hi(kCellCount),
        '\xED', '\xB0',
        '\x21', lo(attrs), hi(attrs), '\x11', lo(kColourVram), hi(kColourVram), '\x01', lo(kCellCount), hi(kCellCount),
        '\xED', '\xB0',
        '\x18', '\xFE'};
    return loader;
}

int Attribute(int i, bool clearMarks) { return gDoc.screen.attr[i] & (clearMarks ? ~kAttrMark : 0xFF) & 0xFF; }

void PutWord(std::string& s, size_t at, uint16_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}

void AppendRows(std::string& out, const char* label, bool attributes, bool clearMarks)
{
    out += label;
    out += ":\n";
    for (int row = 0; row < kScreenRows; ++row) {
        out += "        DB ";
        for (int column = 0; column < kScreenColumns; ++column) {
            const int i = CellIndex(column, row);
            char value[8];
            std::snprintf(value, sizeof value, "0%02XH%s", attributes ? Attribute(i, clearMarks) : gDoc.screen.code[i] & 0xFF,
                          column + 1 < kScreenColumns ? "," : "");
            out += value;
        }
        char comment[16];
        std::snprintf(comment, sizeof comment, " ; row %d\n", row);
        out += comment;
    }
}

}  // namespace

namespace {
// In the order of the formats.
const char* const kExtensions[] = {"mzf", "asm", "bin", "png", "gif"};
}  // namespace

const char* ExportExtension(ExportFormat format) { return kExtensions[static_cast<int>(format)]; }

bool ExportFormatOf(const std::string& path, ExportFormat& format)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos) return false;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (size_t i = 0; i < std::size(kExtensions); ++i)
        if (ext == kExtensions[i]) {
            format = static_cast<ExportFormat>(i);
            return true;
        }
    return false;
}

std::string MzfName(const std::string& text)
{
    std::string name;
    for (size_t i = 0; i < text.size() && name.size() < kMzfNameChars; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) == 0x80) continue;  // the rest of a character already counted
        const char up = static_cast<char>(std::toupper(c < 0x80 ? c : 0));
        name += (up >= 'A' && up <= 'Z') || (up >= '0' && up <= '9') || up == ' ' || up == '-' ? up : '-';
    }
    return name.empty() ? "SCREEN" : name;
}

std::string MzfNameOfFile(const std::string& fileName)
{
    const size_t dot = fileName.rfind('.');
    return MzfName(dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot));
}

std::string VramImage(bool clearMarks)
{
    std::string image(2 * kCellCount, '\0');
    for (int i = 0; i < kCellCount; ++i) {
        image[i] = static_cast<char>(gDoc.screen.code[i] & 0xFF);
        image[kCellCount + i] = static_cast<char>(Attribute(i, clearMarks));
    }
    return image;
}

std::string MzfImage(const std::string& name, bool clearMarks) { return MzfFile(name, Loader() + VramImage(clearMarks)); }

std::string MzfFile(const std::string& name, const std::string& body)
{
    std::string header(kMzfHeaderBytes, '\0');
    header[0] = static_cast<char>(kMachineCode);
    const std::string mzfName = MzfName(name);
    for (size_t i = 0; i <= kMzfNameChars; ++i) header[1 + i] = i < mzfName.size() ? mzfName[i] : kNameEnd;
    PutWord(header, 18, static_cast<uint16_t>(body.size()));
    PutWord(header, 20, kLoadAddress);
    PutWord(header, 22, kLoadAddress);
    return header + body;
}

// Every label ends in a colon, the names EQU defines too: some assemblers
// read a name without one at the start of a line as an instruction.
std::string AssemblerSource(const std::string& name, bool clearMarks)
{
    std::string out = "; " + MzfName(name) +
                      ": an MZ-700 screen.\n"
                      "; Load and run at 1200H: the loader copies the display codes to the text\n"
                      "; VRAM and the attributes to the colour VRAM, then loops so that the\n"
                      "; picture stays. The two tables can go into programs of their own.\n"
                      "TVRAM:  EQU 0D000H          ; text VRAM: display codes, row by row\n"
                      "CVRAM:  EQU 0D800H          ; colour VRAM: attributes, row by row\n"
                      "        ORG 1200H\n"
                      "START:  DI                  ; the picture needs no interrupt\n"
                      "        LD HL,CODES\n"
                      "        LD DE,TVRAM\n"
                      "        LD BC,1000\n"
                      "        LDIR\n"
                      "        LD HL,ATTRS\n"
                      "        LD DE,CVRAM\n"
                      "        LD BC,1000\n"
                      "        LDIR\n"
                      "LOOP:   JR LOOP\n"
                      "; Display codes, 40 to a screen row\n";
    AppendRows(out, "CODES", false, clearMarks);
    out += "; Attributes: bit 7 character set, bits 6-4 foreground, bits 2-0 background";
    out += clearMarks ? "\n" : ", bit 3 the editor's mark\n";
    AppendRows(out, "ATTRS", true, clearMarks);
    out += "        END\n";
    return out;
}

std::vector<uint32_t> ScreenPicture(int k)
{
    const int s = kCellPixels * k;
    std::vector<uint32_t> pixels(static_cast<size_t>(kCanvasWidthAt1) * k * kCanvasHeightAt1 * k);
    // Drawn bottom-up, as views are, then its rows turned over in place.
    const PixelView view = {pixels.data(), kCanvasWidthAt1 * k, kCanvasHeightAt1 * k};
    for (int row = 0; row < kScreenRows; ++row)
        for (int column = 0; column < kScreenColumns; ++column) {
            const int i = CellIndex(column, row);
            DrawPlainGlyph(view, column * s, row * s, gDoc.screen.code[i], gDoc.screen.attr[i], k);
        }
    for (int y = 0; y < view.height / 2; ++y)
        std::swap_ranges(PixelAt(view, 0, y), PixelAt(view, 0, y) + view.width, PixelAt(view, 0, view.height - 1 - y));
    return pixels;
}
