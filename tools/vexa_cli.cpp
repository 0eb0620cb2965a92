// vexa-cli: the editor's core on the command line, for checking, normalising
// and rendering screen files.
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "anim/animation_mzf.h"
#include "anim/animated_gif.h"
#include "anim/frames.h"
#include "io/exports.h"
#include "io/frames_file.h"
#include "render/picture_convert.h"
#include "io/screen_file.h"
#include "render/font.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/undo.h"
#include "tools/picture_read.h"
#include "tools/posix_file.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitRejected = 1;
constexpr int kExitTrouble = 2;

// No input is read past this: a screen file is far smaller, and so is any
// picture a 40 x 25 screen could be made from.
constexpr size_t kInputLimit = size_t{16} << 20;
static_assert(kInputLimit == kScreenFileReadLimit, "vexa-cli reads screen files as far as the editor does");

const char kUsage[] =
    "usage: vexa-cli check FILE\n"
    "       vexa-cli normalize IN OUT      (OUT may be - for standard output)\n"
    "       vexa-cli render IN.txt OUT.png [--zoom 1-8] [--grid dot|cross] [--mark-bit3]\n"
    "                       [--mark-code0] [--font FILE]\n"
    "       vexa-cli export IN.txt OUT.{mzf,asm,bin,png} [--format mzf|asm|bin|png] [--name NAME]\n"
    "                       [--clear-marks] [--zoom 1-8] [--font FILE] [--frames FILE]\n"
    "       vexa-cli export IN.txt OUT.gif --frames FILE [--zoom 1-8] [--delay MS] [--font FILE]\n"
    "       vexa-cli export IN.txt OUT.mzf --frames FILE --animate [--delay MS] [--name NAME]\n"
    "                       [--clear-marks]\n"
    "       vexa-cli import PICTURE OUT.txt [--mode semigraphic|chars] [--fit|--fill|--stretch]\n"
    "                       [--dither none|pattern|grain] [--brightness N] [--contrast N]\n"
    "                       [--exclude CODES] [--font FILE]\n"
    "       vexa-cli --help\n";

const char kHelp[] =
    "Commands:\n"
    "  check FILE         exit 0 and print 'ok' when FILE loads as a screen file;\n"
    "                     otherwise exit 1 and name the first problem\n"
    "  normalize IN OUT   read IN as the editor reads it and write OUT as the\n"
    "                     editor writes it; OUT is left untouched when IN is rejected\n"
    "  render IN OUT.png  draw the 40 x 25 canvas as the editor does (320k x 200k\n"
    "                     pixels at zoom k, default 1; no grid or marks unless asked;\n"
    "                     the font defaults to mz700fon.dat beside vexa-cli)\n"
    "  export IN OUT      the screen for the MZ-700 and beyond, in the format OUT's\n"
    "                     extension names: an MZF tape image that shows it when\n"
    "                     loaded and run (at 1200H), the same as Z80 source, the\n"
    "                     2000 bytes of VRAM (codes, then attributes), or a PNG at\n"
    "                     zoom k; --name gives the MZF name (default: IN's name),\n"
    "                     --clear-marks clears attribute bit 3 in the machine files;\n"
    "                     --frames reads the animation frames from a frames file:\n"
    "                     a line per frame, its number 1-9 then its left, top,\n"
    "                     right and bottom cells ('2 3 4 9 8'), '#' comments;\n"
    "                     --animate makes the MZF a program that shows the screen,\n"
    "                     then each frame in turn at the first one's place, one\n"
    "                     every --delay milliseconds (default 192, as the player\n"
    "                     opens; timed by counting the Z80's cycles at 3.579545 MHz);\n"
    "                     OUT.gif is the frames as the player shows them, in its\n"
    "                     order, looping for ever, --delay ms apart (10-655350,\n"
    "                     kept to the hundredth of a second; default 192, the\n"
    "                     player's opening speed)\n"
    "  import PIC OUT     turn a BMP, PNG, JPEG or GIF (its first picture) into a\n"
    "                     screen file: 2 x 2 blocks (80 x 50) or characters of\n"
    "                     either set, each cell with its best pair of colours; the\n"
    "                     picture fitted whole (--fit, the default), cropped to\n"
    "                     fill (--fill) or stretched; brightness and contrast -100\n"
    "                     to 100; --exclude lists display codes (hex, ranges like\n"
    "                     00-1F) characters avoid. A picture larger than the editor\n"
    "                     takes (16384 pixels a side, 33554432 in all, as its\n"
    "                     headers say) is refused before any pixel is decoded\n"
    "OUT is written as the editor saves: into a new file beside it that then\n"
    "takes its place, keeping its mode; a link is written through, a device or\n"
    "pipe written directly, a read-only OUT refused. Inputs over 16 MB are refused:\n"
    "no more than that is read.\n"
    "Exit status: 0 success; 1 not a screen file or a frames file, a picture import\n"
    "does not take (of another kind, damaged, or too large), or frames that cannot\n"
    "be animated (none, or a delay shorter than a copy takes or over 65535 ms),\n"
    "the reason said on one line; 2 usage or file error (a file that cannot be\n"
    "read or written, an input over 16 MB).\n";

// One line naming the argument, what was wrong with it and what is allowed,
// then where the whole usage is.
int UsageError(const std::string& argument, const std::string& problem, const std::string& allowed)
{
    std::fprintf(stderr, "vexa-cli: %s%s%s; %s\nRun 'vexa-cli --help' for the whole usage.\n", argument.c_str(),
                 argument.empty() ? "" : ": ", problem.c_str(), allowed.c_str());
    return kExitTrouble;
}

bool ReadWholeFile(const char* path, std::vector<char>& out)
{
    if (ReadFileLimited(path, kInputLimit, out)) return true;
    if (errno == EFBIG)
        std::fprintf(stderr, "vexa-cli: '%s' is larger than %zu MB, more than any screen file can be\n", path,
                     kInputLimit >> 20);
    else
        std::fprintf(stderr, "vexa-cli: cannot open '%s': %s\n", path, std::strerror(errno));
    return false;
}

// Loads a screen file into the Screen buffer: kExitOk, kExitRejected (with
// the problem printed) or kExitTrouble.
int LoadScreen(const char* path)
{
    std::vector<char> text;
    if (!ReadWholeFile(path, text)) return kExitTrouble;
    ScreenFileProblem problem;
    if (ReadScreenFile(text.data(), text.size(), &problem)) return kExitOk;
    char why[128];
    DescribeScreenFileProblem(problem, why, sizeof why);
    std::printf("not a screen file: %s\n", why);
    return kExitRejected;
}

// Reads a frames file into the frame table: kExitOk, kExitRejected (with the
// problem printed, the table as it was) or kExitTrouble.
int LoadFrames(const std::string& path)
{
    std::vector<char> text;
    if (!ReadWholeFile(path.c_str(), text)) return kExitTrouble;
    FramesFileProblem problem;
    if (ReadFramesFile(text.data(), text.size(), gFrames, &problem)) return kExitOk;
    std::fprintf(stderr, "vexa-cli: '%s' is not a frames file: %s\n", path.c_str(),
                 DescribeFramesFileProblem(problem).c_str());
    return kExitRejected;
}

// Writes OUT the way the editor saves: never half a file, never a broken
// link, never a read-only file replaced.
bool WriteOutput(const char* path, const std::string& bytes)
{
    std::string why;
    switch (WriteFileSafely(path, bytes, why)) {
    case SafeWriteResult::Written: return true;
    case SafeWriteResult::ReadOnly:
        std::fprintf(stderr, "vexa-cli: '%s' is read-only; it was not replaced\n", path);
        return false;
    case SafeWriteResult::NotAFile: std::fprintf(stderr, "vexa-cli: '%s' is a folder\n", path); return false;
    case SafeWriteResult::Failed: break;
    }
    std::fprintf(stderr, "vexa-cli: cannot write '%s'%s%s\n", path, why.empty() ? "" : ": ", why.c_str());
    return false;
}

std::string FontBesideProgram()
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "mz700fon.dat";
    std::string path(self, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + "mz700fon.dat";
}

// What the options of render, export and import ask for.
struct Options {
    int zoom = 1;
    bool grid = false;
    int gridType = kGridDot;
    bool markBit3 = false;
    bool markCode0 = false;
    std::string font = FontBesideProgram();
    bool hasFormat = false;
    ExportFormat format = ExportFormat::Png;
    std::string name;
    bool nameGiven = false;
    bool clearMarks = false;
    std::string frames;  // a frames file, when given
    bool animate = false;
    int delay = FrameInterval(kPlayerStartPosition);  // milliseconds, as the player opens
    ConvertOptions convert;
};

// Hexadecimal codes and ranges, comma-separated: "00-1F,E0". False on
// anything else.
bool ParseExcluded(const std::string& list, std::bitset<kGlyphNumbers>& glyphs)
{
    size_t at = 0;
    while (at <= list.size()) {
        const size_t end = std::min(list.find(',', at), list.size());
        const std::string item = list.substr(at, end - at);
        char* rest = nullptr;
        const unsigned long first = std::strtoul(item.c_str(), &rest, 16);
        unsigned long last = first;
        if (*rest == '-') last = std::strtoul(rest + 1, &rest, 16);
        if (item.empty() || *rest || first > 0xFF || last > 0xFF || last < first) return false;
        for (unsigned long code = first; code <= last; ++code) glyphs.reset(code).reset(code + 256);
        at = end + 1;
    }
    return true;
}

bool ParsePercent(const std::string& text, int& value)
{
    char* rest = nullptr;
    const long v = std::strtol(text.c_str(), &rest, 10);
    if (text.empty() || *rest || v < -100 || v > 100) return false;
    value = static_cast<int>(v);
    return true;
}

// The commands that take options, as bits.
constexpr unsigned kRender = 1, kExport = 2, kImport = 4;

struct OptionRow {
    const char* name;
    unsigned commands;
    const char* allowed;  // what its value may be; nullptr: it takes none
    bool (*apply)(Options& o, const std::string& value);  // false: the value is not allowed
};

const OptionRow kOptions[] = {
    {"--zoom", kRender | kExport, "1 to 8",
     [](Options& o, const std::string& v) {
         if (v.size() != 1 || v[0] < '1' || v[0] > '8') return false;
         o.zoom = v[0] - '0';
         return true;
     }},
    {"--grid", kRender, "dot or cross",
     [](Options& o, const std::string& v) {
         o.grid = true;
         o.gridType = v == "cross" ? kGridCross : kGridDot;
         return v == "dot" || v == "cross";
     }},
    {"--mark-bit3", kRender, nullptr, [](Options& o, const std::string&) { return o.markBit3 = true; }},
    {"--mark-code0", kRender, nullptr, [](Options& o, const std::string&) { return o.markCode0 = true; }},
    {"--format", kExport, "mzf, asm, bin, png or gif",
     [](Options& o, const std::string& v) { return o.hasFormat = ExportFormatOf("." + v, o.format); }},
    {"--name", kExport, "an MZF name",
     [](Options& o, const std::string& v) {
         o.name = v;
         return o.nameGiven = true;
     }},
    {"--clear-marks", kExport, nullptr, [](Options& o, const std::string&) { return o.clearMarks = true; }},
    {"--frames", kExport, "a frames file",
     [](Options& o, const std::string& v) {
         o.frames = v;
         return true;
     }},
    {"--animate", kExport, nullptr, [](Options& o, const std::string&) { return o.animate = true; }},
    {"--delay", kExport, "milliseconds",
     [](Options& o, const std::string& v) {
         if (v.empty() || v.size() > 9 || v.find_first_not_of("0123456789") != std::string::npos) return false;
         o.delay = std::stoi(v);
         return true;
     }},
    {"--mode", kImport, "semigraphic or chars",
     [](Options& o, const std::string& v) {
         o.convert.mode = v == "chars" ? ConvertMode::Characters : ConvertMode::Semigraphic;
         return v == "semigraphic" || v == "chars";
     }},
    {"--fit", kImport, nullptr,
     [](Options& o, const std::string&) {
         o.convert.fit = ConvertFit::Letterbox;
         return true;
     }},
    {"--fill", kImport, nullptr,
     [](Options& o, const std::string&) {
         o.convert.fit = ConvertFit::Crop;
         return true;
     }},
    {"--stretch", kImport, nullptr,
     [](Options& o, const std::string&) {
         o.convert.fit = ConvertFit::Stretch;
         return true;
     }},
    // "bayer" and "fs", the names of the methods, are still taken.
    {"--dither", kImport, "none, pattern or grain",
     [](Options& o, const std::string& v) {
         if (v == "none") o.convert.dither = ConvertDither::None;
         else if (v == "pattern" || v == "bayer") o.convert.dither = ConvertDither::Pattern;
         else if (v == "grain" || v == "fs") o.convert.dither = ConvertDither::Grain;
         else return false;
         return true;
     }},
    {"--brightness", kImport, "-100 to 100",
     [](Options& o, const std::string& v) { return ParsePercent(v, o.convert.brightness); }},
    {"--contrast", kImport, "-100 to 100",
     [](Options& o, const std::string& v) { return ParsePercent(v, o.convert.contrast); }},
    {"--exclude", kImport, "hexadecimal codes and ranges such as 00-1F,E0",
     [](Options& o, const std::string& v) { return ParseExcluded(v, o.convert.glyphs); }},
    {"--font", kRender | kExport | kImport, "a font file",
     [](Options& o, const std::string& v) {
         o.font = v;
         return true;
     }},
};

struct CommandRow {
    const char* name;
    const char* arguments[2];  // what it takes before the options
    unsigned options;           // 0: none
};

const CommandRow kCommands[] = {
    {"check", {"FILE", nullptr}, 0},
    {"normalize", {"IN", "OUT"}, 0},
    {"render", {"IN.txt", "OUT.png"}, kRender},
    {"export", {"IN.txt", "OUT"}, kExport},
    {"import", {"PICTURE", "OUT.txt"}, kImport},
};
const char kCommandList[] = "use check, normalize, render, export or import";

std::string UsageOf(const CommandRow& c)
{
    std::string usage = std::string("use vexa-cli ") + c.name;
    for (const char* argument : c.arguments)
        if (argument) usage += std::string(" ") + argument;
    return c.options ? usage + " [options]" : usage;
}

// The arguments after the command: what it takes, then its options. False,
// with the usage error said, on anything else.
bool ParseArguments(const CommandRow& c, int argc, char** argv, Options& o)
{
    int arguments = 0;
    for (const char* argument : c.arguments) arguments += argument ? 1 : 0;
    if (argc < 2 + arguments) {
        UsageError(c.name, std::string(c.arguments[argc - 2]) + " is missing", UsageOf(c));
        return false;
    }
    for (int i = 2 + arguments; i < argc; ++i) {
        const std::string a = argv[i];
        const OptionRow* row = nullptr;
        for (const OptionRow& r : kOptions)
            if (a == r.name && (r.commands & c.options)) row = &r;
        if (!row && !c.options) {
            UsageError(a, "one argument too many", UsageOf(c));
            return false;
        }
        if (!row) {
            std::string taken;
            for (const OptionRow& r : kOptions)
                if (r.commands & c.options) taken += std::string(taken.empty() ? "" : ", ") + r.name;
            UsageError(a, std::string("not an option of ") + c.name, std::string(c.name) + " takes " + taken);
            return false;
        }
        if (!row->allowed) {
            row->apply(o, "");
            continue;
        }
        if (i + 1 == argc) {
            UsageError(a, "the value is missing", a + " takes " + row->allowed);
            return false;
        }
        const std::string value = argv[++i];
        if (!row->apply(o, value)) {
            UsageError(a + " " + value, "not allowed", a + " takes " + row->allowed);
            return false;
        }
    }
    return true;
}

// Pixels as an 8-bit RGB PNG, in `out`: row y of the picture starts at
// top + y * step, so that bottom-up views and top-first arrays both go in as
// they are.
bool EncodePng(std::string& out, const uint32_t* top, ptrdiff_t step, int width, int height)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), n);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint32_t* p = top + y * step;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<png_byte>(p[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(p[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(p[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

int RenderScreen(const char* in, const char* out, const Options& o)
{
    if (!LoadFont(o.font.c_str())) {
        std::fprintf(stderr, "vexa-cli: cannot read the font '%s'\n", o.font.c_str());
        return kExitTrouble;
    }
    const int loaded = LoadScreen(in);
    if (loaded != kExitOk) return loaded;

    gView.Zoom = o.zoom - 1;
    UpdateViewGeometry();
    gView.ShowGrid = o.grid ? 1 : 0;
    gView.GridType = o.gridType;
    gMarks.MarkBit3 = o.markBit3 ? 1 : 0;
    gMarks.MarkDispc0 = o.markCode0 ? 1 : 0;
    const ViewGeometry& g = CurrentView();
    std::vector<uint32_t> pixels(static_cast<size_t>(g.W) * 2 * g.H, kPanelGrey);
    gCanvas.pixels = {pixels.data(), g.W, 2 * g.H};
    gCanvas.gridColour = kPanelGrey;
    RedrawCanvas();
    std::string png;
    // The back buffer is bottom-up: the row below is one width back.
    if (!EncodePng(png, PixelAt(gCanvas.pixels, kCanvasLeft, kCanvasTop), -gCanvas.pixels.width, kScreenColumns * g.s,
                   kScreenRows * g.s)) {
        std::fprintf(stderr, "vexa-cli: cannot encode the picture\n");
        return kExitTrouble;
    }
    return WriteOutput(out, png) ? kExitOk : kExitTrouble;
}

// The file-name part of a path, for the MZF name.
std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The frames as an MZ-700 program; one that cannot be made is refused with
// the reason.
int ExportAnimation(const char* out, const std::string& name, const Options& o)
{
    std::string mzf;
    switch (AnimationMzfImage(name, o.delay, o.clearMarks, mzf)) {
    case AnimationRefusal::None: return WriteOutput(out, mzf) ? kExitOk : kExitTrouble;
    case AnimationRefusal::NoFrames:
        std::fprintf(stderr, "vexa-cli: cannot animate: '%s' defines no frame\n", o.frames.c_str());
        break;
    case AnimationRefusal::DelayTooShort:
        std::fprintf(stderr, "vexa-cli: cannot animate: copying a frame takes longer than %d ms; the delay must be at least %d ms\n",
                    o.delay, ShortestAnimationDelay());
        break;
    case AnimationRefusal::DelayTooLong:
        std::fprintf(stderr, "vexa-cli: cannot animate: the delay can be %d ms at most\n", kLongestAnimationDelay);
        break;
    }
    return kExitRejected;
}

int ExportScreen(const char* in, const char* out, Options& o)
{
    if (!o.hasFormat && !ExportFormatOf(out, o.format))
        return UsageError(out, "names no export format", "end it in .mzf, .asm, .bin, .png or .gif, or give --format");
    if (o.format == ExportFormat::Gif && o.frames.empty())
        return UsageError(out, "an animated GIF is made of frames", "give --frames FILE");
    if (o.format == ExportFormat::Gif && (o.delay < kGifShortestDelay || o.delay > kGifLongestDelay))
        return UsageError("--delay", "a GIF cannot keep it", "give 10 to 655350 milliseconds");
    if ((o.format == ExportFormat::Png || o.format == ExportFormat::Gif) && !LoadFont(o.font.c_str())) {
        std::fprintf(stderr, "vexa-cli: cannot read the font '%s'\n", o.font.c_str());
        return kExitTrouble;
    }
    if (o.animate && (o.format != ExportFormat::Mzf || o.frames.empty()))
        return UsageError("--animate", "makes an MZF of the frames that --frames FILE reads",
                          "give an OUT.mzf and --frames FILE");
    int loaded = LoadScreen(in);
    if (loaded == kExitOk && !o.frames.empty()) loaded = LoadFrames(o.frames);
    if (loaded != kExitOk) return loaded;
    const std::string name = o.nameGiven ? MzfName(o.name) : MzfNameOfFile(BaseName(in));
    if (o.animate) return ExportAnimation(out, name, o);
    std::string bytes;
    switch (o.format) {
    case ExportFormat::Mzf: bytes = MzfImage(name, o.clearMarks); break;
    case ExportFormat::Asm: bytes = AssemblerSource(name, o.clearMarks); break;
    case ExportFormat::Bin: bytes = VramImage(o.clearMarks); break;
    case ExportFormat::Png: {
        const std::vector<uint32_t> pixels = ScreenPicture(o.zoom);
        const int w = kCanvasWidthAt1 * o.zoom, h = kCanvasHeightAt1 * o.zoom;
        if (!EncodePng(bytes, pixels.data(), w, w, h)) return kExitTrouble;
        break;
    }
    case ExportFormat::Gif: {
        GifAnimation gif;
        if (!AnimationForGif(o.zoom, o.delay, gif)) {
            std::fprintf(stderr, "vexa-cli: '%s' defines no frame\n", o.frames.c_str());
            return kExitRejected;
        }
        if (!EncodeAnimatedGif(gif, bytes)) {
            std::fprintf(stderr, "vexa-cli: cannot encode the animation\n");
            return kExitTrouble;
        }
        break;
    }
    }
    return WriteOutput(out, bytes) ? kExitOk : kExitTrouble;
}

int ImportPicture(const char* in, const char* out, const Options& o)
{
    if (o.convert.mode == ConvertMode::Characters && !LoadFont(o.font.c_str())) {
        std::fprintf(stderr, "vexa-cli: cannot read the font '%s'\n", o.font.c_str());
        return kExitTrouble;
    }
    Picture picture;
    std::string why;
    const PictureRead read = ReadPicture(in, kInputLimit, picture, why);
    if (read != PictureRead::Read) {
        std::fprintf(stderr, "vexa-cli: '%s' %s\n", in, why.c_str());
        return read == PictureRead::Refused ? kExitRejected : kExitTrouble;
    }
    ConvertedScreen converted;
    ConvertPicture(picture.pixels.data(), picture.width, picture.height, o.convert, converted);
    std::copy(converted.code, converted.code + kCellCount, gDoc.screen.code);
    std::copy(converted.attr, converted.attr + kCellCount, gDoc.screen.attr);
    return WriteOutput(out, ScreenFileText()) ? kExitOk : kExitTrouble;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return UsageError("", "the command is missing", kCommandList);
    ResetFrames();
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    const CommandRow* row = nullptr;
    for (const CommandRow& c : kCommands)
        if (command == c.name) row = &c;
    if (!row) return UsageError(command, "no such command", kCommandList);
    Options options;
    if (!ParseArguments(*row, argc, argv, options)) return kExitTrouble;
    const char* in = argv[2];
    const char* out = argc > 3 ? argv[3] : nullptr;
    if (command == "check") {
        const int result = LoadScreen(in);
        if (result == kExitOk) std::puts("ok");
        return result;
    }
    if (command == "normalize") {
        const int result = LoadScreen(in);
        if (result != kExitOk) return result;
        return WriteOutput(out, ScreenFileText()) ? kExitOk : kExitTrouble;
    }
    if (command == "render") return RenderScreen(in, out, options);
    if (command == "export") return ExportScreen(in, out, options);
    return ImportPicture(in, out, options);
}
