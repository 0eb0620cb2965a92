// vexa-cli as a user runs it.
#include <gtest/gtest.h>
#include <png.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "anim/animation_mzf.h"
#include "anim/frames.h"
#include "io/exports.h"
#include "io/frames_file.h"
#include "io/picture_file.h"
#include "io/screen_file.h"
#include "render/font.h"
#include "screen/document.h"
#include "tests/bmp_maker.h"
#include "tests/gif/player_pictures.h"
#include "tests/png_maker.h"
#include "tests/test_support.h"

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun RunCommand(const std::string& command_line)
{
    const std::string command = command_line + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    CliRun r = {-1, ""};
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

CliRun RunCli(const std::string& args) { return RunCommand(std::string(VEXA_CLI) + " " + args); }

// Python with PIL, a picture coder of its own, runs `code` after importing
// Image.
CliRun RunPil(const std::string& code)
{
    return RunCommand(std::string(VEXA_PYTHON) + " -c \"from PIL import Image\n" + code + "\"");
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mkdtemp(&dir_[0])); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(Path(name)) << text; }
    std::string ReadBack(const std::string& name) const
    {
        std::stringstream s;
        s << std::ifstream(Path(name)).rdbuf();
        return s.str();
    }
    std::string dir_ = "/tmp/vexa-cli-XXXXXX";
};

// A valid screen file with leading zeros and a trailing line break.
std::string Sloppy()
{
    std::string s;
    for (int i = 0; i < 3000; ++i) s += (i == 0 ? "065" : i == 1000 ? "07" : "0") + std::string(i < 2999 ? "," : "\r\n");
    return s;
}

// A picture read back from a PNG file, 0xRRGGBB top row first; empty when
// the file cannot be read.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};
Picture ReadPng(const std::string& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    Picture out;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
    image.format = PNG_FORMAT_BGRA;  // little-endian words of 0xAARRGGBB
    out.pixels.resize(PNG_IMAGE_SIZE(image) / 4);
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) return {};
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    return out;
}

// Screen: cell (x, y) holds code x + y, colours from the cell index, cell 5
// marked, cell 6 code 0.
std::string RenderSample()
{
    std::string s;
    for (int run = 0; run < 3; ++run)
        for (int i = 0; i < 1000; ++i) {
            const int x = i % 40, y = i / 40;
            const int word = i == 6 ? 0 : ((x + y) & 0xFF) | (i == 5 ? 512 : 0) | (i == 7 ? 256 : 0);
            s += std::to_string(run == 0 ? word : run == 1 ? i % 8 : (i / 8) % 8);
            if (run < 2 || i < 999) s += ',';
        }
    return s;
}

const uint32_t kColours[8] = {0x000000, 0x0000FF, 0xFF0000, 0xFF00FF, 0x00FF00, 0x00FFFF, 0xFFFF00, 0xFFFFFF};

}  // namespace

TEST_F(CliTest, CheckNormalizeAndUsage)
{
    Write("good.txt", Sloppy());
    Write("bad.txt", "1,2,3,4,5,6 7");
    CliRun r = RunCli("check " + Path("good.txt"));
    EXPECT_TRUE(r.status == 0 && r.out == "ok\n") << r.status << " " << r.out;
    r = RunCli("check " + Path("bad.txt"));
    EXPECT_TRUE(r.status == 1 && r.out == "not a screen file: expected ',' at byte 11, found ' '\n") << r.out;
    r = RunCli("check " + Path("missing.txt"));
    EXPECT_TRUE(r.status == 2 && r.out.find("cannot open") != std::string::npos) << r.status << " " << r.out;
    EXPECT_EQ(RunCli("check " + dir_).status, 2);  // a folder cannot be read as a file

    // Normalized: 65, 999 zeros, 7, 1999 zeros: no leading zeros, no line
    // break. A rejected input leaves the output alone; an output in a
    // missing folder is an error, not a silent success.
    ASSERT_EQ(RunCli("normalize " + Path("good.txt") + " " + Path("out.txt")).status, 0);
    std::string expected = "65";
    for (int i = 1; i < 3000; ++i) expected += i == 1000 ? ",7" : ",0";
    EXPECT_EQ(ReadBack("out.txt"), expected);
    EXPECT_EQ(RunCli("normalize " + Path("bad.txt") + " " + Path("good.txt")).status, 1);
    EXPECT_EQ(ReadBack("good.txt"), Sloppy());
    EXPECT_EQ(RunCli("normalize " + Path("good.txt") + " " + Path("no/such/out.txt")).status, 2);

    r = RunCli("--help");
    EXPECT_TRUE(r.status == 0 && r.out.find("normalize IN OUT") != std::string::npos) << r.out;
    // A usage error says in one line which argument, what is wrong with it
    // and what is allowed, then where the whole usage is; it writes nothing.
    const std::string good = Path("good.txt") + " ";
    const std::pair<std::string, std::string> usage[] = {
        {"", "the command is missing; use check, normalize, render, export or import"},
        {"frobnicate x", "frobnicate: no such command; use check, normalize, render, export or import"},
        {"check", "check: FILE is missing; use vexa-cli check FILE"},
        {"normalize a", "normalize: OUT is missing; use vexa-cli normalize IN OUT"},
        {"check a b", "b: one argument too many; use vexa-cli check FILE"},
        {"render " + good + Path("o.png") + " --zoom 9", "--zoom 9: not allowed; --zoom takes 1 to 8"},
        {"render " + good + Path("o.png") + " --grid foo", "--grid foo: not allowed; --grid takes dot or cross"},
        {"render " + good + Path("o.png") + " --zoom", "--zoom: the value is missing; --zoom takes 1 to 8"},
        {"import " + good + Path("o.txt") + " --dither foo",
         "--dither foo: not allowed; --dither takes none, pattern or grain"},
        {"export " + good + Path("o.mzf") + " --grid dot",
         "--grid: not an option of export; export takes --zoom, --format, --name, --clear-marks, --frames, --animate, "
         "--delay, --font"},
        {"export " + good + Path("o.data"),
         Path("o.data") + ": names no export format; end it in .mzf, .asm, .bin, .png or .gif, or give --format"},
    };
    for (const auto& [args, line] : usage) {
        r = RunCli(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "vexa-cli: " + line + "\nRun 'vexa-cli --help' for the whole usage.\n") << args;
    }
    for (const char* out : {"o.png", "o.txt", "o.mzf", "o.data"}) EXPECT_FALSE(std::filesystem::exists(Path(out)));
}

TEST_F(CliTest, RenderDrawsTheCanvasExactlyAndWritesNothingOnErrors)
{
    // Glyph g, row r: the byte (g * 7 + r * 29) & 0xFF.
    std::string font(4096, '\0');
    for (int i = 0; i < 4096; ++i) font[i] = static_cast<char>(((i / 8) * 7 + (i % 8) * 29) & 0xFF);
    Write("font.dat", font);
    Write("screen.txt", RenderSample());
    CliRun r = RunCli("render " + Path("screen.txt") + " " + Path("x2.png") + " --zoom 2 --font " + Path("font.dat"));
    ASSERT_EQ(r.status, 0) << r.out;
    Picture pic = ReadPng(Path("x2.png"));
    ASSERT_TRUE(pic.width == 640 && pic.height == 400) << pic.width << "x" << pic.height;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x) {
            const int cx = x / 16, cy = y / 16, i = cx + 40 * cy;
            const int code = i == 6 ? 0 : (cx + cy) & 0xFF;
            const int glyph = code + (i == 7 ? 256 : 0);
            const bool on = (static_cast<unsigned char>(font[glyph * 8 + (y % 16) / 2]) >> (7 - (x % 16) / 2)) & 1;
            ASSERT_EQ(pic.At(x, y), on ? kColours[i % 8] : kColours[(i / 8) % 8]) << x << "," << y;
        }

    // Grid and marks only when asked: a cross at x3, the purple bit-3 box.
    r = RunCli("render " + Path("screen.txt") + " " + Path("marks.png") +
               " --zoom 3 --grid cross --mark-bit3 --mark-code0 --font " + Path("font.dat"));
    ASSERT_EQ(r.status, 0) << r.out;
    pic = ReadPng(Path("marks.png"));
    ASSERT_TRUE(pic.width == 960 && pic.height == 600) << pic.width << "x" << pic.height;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pic.At(24 + i, 24), 0x404040u) << i;      // corner and arm of cell (1, 1)
        EXPECT_EQ(pic.At(24, 24 + i), 0x404040u) << i;
    }
    EXPECT_EQ(pic.At(5 * 24 + 5, 5), 0xCC00CCu);            // cell 5's diagonal
    EXPECT_EQ(pic.At(6 * 24 + 23, 23), 0x404040u);          // cell 6: code-00 box

    // Bad input, a missing font or an unwritable output: an error and no
    // file. (Bad options: the usage test.)
    Write("bad.txt", "1,2,x");
    const std::string opts = " --font " + Path("font.dat"), screen = "render " + Path("screen.txt") + " ";
    const std::pair<std::string, int> cases[] = {
        {"render " + Path("bad.txt") + " " + Path("o.png") + opts, 1},
        {"render " + Path("missing.txt") + " " + Path("o.png") + opts, 2},
        {screen + Path("o.png") + " --font " + Path("nofont.dat"), 2},
        {screen + Path("no/such/o.png") + opts, 2},
    };
    for (const auto& [args, status] : cases) {
        r = RunCli(args);
        EXPECT_TRUE(r.status == status && !r.out.empty()) << args << "\n" << r.status << " " << r.out;
        EXPECT_FALSE(std::filesystem::exists(Path("o.png"))) << args;
    }
}

TEST_F(CliTest, OutputsAreWrittenAsTheEditorSaves)
{
    Write("in.txt", Sloppy());
    const std::string normal = RunCli("normalize " + Path("in.txt") + " -").out;
    ASSERT_EQ(normal.size(), 2u + 2 + 2 * 2998);  // "65", ",7" and 2998 ",0": to standard output

    // A link is written through: it stays a link, the file it names changes,
    // also when that file does not exist yet.
    Write("real.txt", "old");
    std::filesystem::create_symlink(Path("real.txt"), Path("link.txt"));
    std::filesystem::create_symlink("new.txt", Path("dangling.txt"));
    for (const char* out : {"link.txt", "dangling.txt"})
        ASSERT_EQ(RunCli("normalize " + Path("in.txt") + " " + Path(out)).status, 0) << out;
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.txt")));
    EXPECT_EQ(ReadBack("real.txt"), normal);
    EXPECT_EQ(ReadBack("new.txt"), normal);

    // The mode of the file replaced stays; a read-only one, or a folder, is
    // refused with exit 2 and left as it was.
    Write("private.txt", "old");
    chmod(Path("private.txt").c_str(), 0600);
    ASSERT_EQ(RunCli("normalize " + Path("in.txt") + " " + Path("private.txt")).status, 0);
    EXPECT_EQ(std::filesystem::status(Path("private.txt")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    Write("locked.txt", "precious");
    chmod(Path("locked.txt").c_str(), 0444);
    CliRun r = RunCli("normalize " + Path("in.txt") + " " + Path("locked.txt"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("read-only"), std::string::npos) << r.out;
    EXPECT_EQ(ReadBack("locked.txt"), "precious");
    EXPECT_EQ(RunCli("normalize " + Path("in.txt") + " " + dir_).status, 2);

    // A pipe is written directly and stays a pipe.
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    std::string piped;
    std::thread reader([&] { piped = ReadBack("pipe"); });
    EXPECT_EQ(RunCli("normalize " + Path("in.txt") + " " + Path("pipe")).status, 0);
    // Should the tool never have opened the pipe, the reader is let go.
    const int letGo = open(Path("pipe").c_str(), O_WRONLY | O_NONBLOCK);
    if (letGo >= 0) close(letGo);
    reader.join();
    EXPECT_EQ(piped, normal);
    EXPECT_TRUE(std::filesystem::is_fifo(Path("pipe")));
    // Nothing of ours is left beside the outputs.
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().rfind(".vexa-", 0), std::string::npos) << entry.path();

    // An endless input is refused at the editor's limit, not read to the end
    // of memory.
    r = RunCli("check /dev/zero");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("larger than 16 MB"), std::string::npos) << r.out;
}

TEST_F(CliTest, ExportWritesEachFormatAndNothingForABadScreen)
{
    // What the core makes of the sample (proved on a test Z80 by its own
    // checks), in the file each extension or --format names.
    const std::string sample = RenderSample();
    Write("font.dat", std::string(4096, '\x0F'));
    Write("my title.txt", sample);
    ResetCore();
    ASSERT_TRUE(ReadScreenFile(sample.data(), sample.size(), nullptr));
    const std::string in = "'" + Path("my title.txt") + "'", font = " --font " + Path("font.dat");
    for (const char* out : {"t.mzf", "t.asm", "t.bin", "t.png"})
        EXPECT_EQ(RunCli("export " + in + " " + Path(out) + font).status, 0) << out;
    EXPECT_EQ(ReadBack("t.mzf"), MzfImage("MY TITLE", false));
    EXPECT_EQ(ReadBack("t.asm"), AssemblerSource("MY TITLE", false));
    EXPECT_EQ(ReadBack("t.bin"), VramImage(false));
    const Picture pic = ReadPng(Path("t.png"));
    EXPECT_TRUE(pic.width == 320 && pic.height == 200) << pic.width << "x" << pic.height;
    ASSERT_EQ(RunCli("export " + in + " " + Path("named") + " --format mzf --name demo.1 --clear-marks").status, 0);
    EXPECT_EQ(ReadBack("named"), MzfImage("DEMO-1", true));
    EXPECT_NE(VramImage(true), VramImage(false)) << "the sample has marks, kept by default";

    // A rejected screen exits 1 and writes nothing.
    Write("bad.txt", "1,2,x");
    EXPECT_EQ(RunCli("export " + Path("bad.txt") + " " + Path("bad.mzf")).status, 1);
    EXPECT_FALSE(std::filesystem::exists(Path("bad.mzf")));
}

TEST_F(CliTest, ImportTurnsPicturesIntoScreensAndWritesNothingForOthers)
{
    // A screen drawn as a PNG by render, in the font beside the program,
    // comes back, in characters, as a screen that draws the same PNG.
    const std::string title = std::string(VEXA_SOURCE_DIR) + "/examples/title.txt";
    ASSERT_EQ(RunCli("render " + title + " " + Path("title.png")).status, 0);
    CliRun r = RunCli("import " + Path("title.png") + " " + Path("back.txt") + " --mode chars");
    ASSERT_EQ(r.status, 0) << r.out;
    ASSERT_EQ(RunCli("render " + Path("back.txt") + " " + Path("back.png")).status, 0);
    const Picture original = ReadPng(Path("title.png")), back = ReadPng(Path("back.png"));
    ASSERT_EQ(original.width, 320);
    EXPECT_TRUE(original.pixels == back.pixels);

    // A JPEG of one colour gives one cell everywhere.
    ASSERT_EQ(RunPil("Image.new('RGB', (64, 40), (250, 240, 20)).save('" + Path("flat.jpg") + "')").status, 0);
    ASSERT_EQ(RunCli("import " + Path("flat.jpg") + " " + Path("flat.txt") + " --fill").status, 0);
    const std::string flat = ReadBack("flat.txt");
    ASSERT_TRUE(ReadScreenFile(flat.data(), flat.size(), nullptr));
    for (int i = 1; i < kCellCount; ++i)
        ASSERT_TRUE(gDoc.screen.code[i] == gDoc.screen.code[0] && gDoc.screen.attr[i] == gDoc.screen.attr[0]) << i;

    // Excluded codes are never chosen, in either set.
    ASSERT_EQ(RunCli("import " + Path("title.png") + " " + Path("blocks.txt") + " --mode chars --exclude 00-7F,80-EF")
                  .status, 0);
    const std::string blocks = ReadBack("blocks.txt");
    ASSERT_TRUE(ReadScreenFile(blocks.data(), blocks.size(), nullptr));
    for (int i = 0; i < kCellCount; ++i) ASSERT_GE(gDoc.screen.code[i], 0xF0) << i;

    // Pictures import does not take: exit 1 and the reason on one line. Of
    // no kind it knows; claiming 20000 x 20000 pixels in a file of a
    // megabyte; cut off in the pixels; a BMP whose headers do not hold
    // together.
    Write("text.png", "hello");
    Write("bomb.png", png_maker::ZeroPng(20000, 20000, 8, 2));
    const std::string whole = ReadBack("title.png");
    Write("cut.png", whole.substr(0, whole.size() / 2));
    const std::vector<uint8_t> bmp = MakeBmp({8});
    Write("cut.bmp", std::string(bmp.begin(), bmp.end() - 1));
    const std::pair<const char*, const char*> refused[] = {{"text.png", "is no BMP, PNG, JPEG or GIF picture"},
                                                           {"bomb.png", "is larger than the editor takes"},
                                                           {"cut.png", "is a damaged picture: "},
                                                           {"cut.bmp", "is a damaged picture: "}};
    for (const auto& [name, why] : refused) {
        r = RunCli("import " + Path(name) + " " + Path("no1.txt"));
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.out.rfind("vexa-cli: '" + Path(name) + "' " + why, 0), 0u) << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    }

    // No file, bad options: exit 2. Nothing written for any of them.
    EXPECT_EQ(RunCli("import " + Path("missing.png") + " " + Path("no2.txt")).status, 2);
    for (const char* options : {"--mode dots", "--dither lots", "--brightness 101", "--exclude 1G", "--exclude 20-10"})
        EXPECT_EQ(RunCli("import " + Path("title.png") + " " + Path("no3.txt") + " " + options).status, 2) << options;

    // An endless picture is refused at 16 MB, not read to the end of memory.
    r = RunCli("import /dev/zero " + Path("no4.txt"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("is larger than 16 MB"), std::string::npos) << r.out;
    for (const char* name : {"no1.txt", "no2.txt", "no3.txt", "no4.txt"}) EXPECT_FALSE(std::filesystem::exists(Path(name)));
}

// BMP of every kind and GIF become the screens the same picture as a PNG
// becomes; a GIF gives its first picture, its transparent colour on black.
TEST_F(CliTest, ImportReadsBmpAndGifAsThePngOfTheSamePicture)
{
    const std::string size = "size = (" + std::to_string(kBmpWidth) + ", " + std::to_string(kBmpHeight) + ")\n";
    const auto writePng = [&](const std::string& name, uint32_t (*colour)(int x, int y)) {
        std::string rgb;
        for (int i = 0; i < kBmpWidth * kBmpHeight; ++i) rgb += std::to_string(colour(i % kBmpWidth, i / kBmpWidth)) + ",";
        const CliRun made = RunPil(size + "p = Image.new('RGB', size)\np.putdata([(c >> 16, c >> 8 & 255, c & 255) for c in [" +
                                   rgb + "]])\np.save('" + Path(name) + "')");
        ASSERT_EQ(made.status, 0) << made.out;
    };
    const auto import = [&](const std::string& name) {
        const CliRun r = RunCli("import " + Path(name) + " " + Path("out.txt") + " --mode chars");
        EXPECT_EQ(r.status, 0) << name << ": " << r.out;
        return r.status == 0 ? ReadBack("out.txt") : std::string();
    };
    // Colours that keep 5 bits a channel, so 16-bit files hold them exactly.
    writePng("p.png", BmpPixel);
    const std::string want = import("p.png");
    ASSERT_FALSE(want.empty());
    for (const BmpSpec& s : BmpVariants()) {
        if (s.bits < 4 || (s.bits == 16 && s.bitFields)) continue;  // fewer colours; 6 bits of green
        const std::vector<uint8_t> bmp = MakeBmp(s);
        Write("p.bmp", std::string(bmp.begin(), bmp.end()));
        EXPECT_EQ(import("p.bmp"), want) << s.bits << " bits, header " << s.headerSize << (s.rle ? " RLE" : "");
    }

    // Index 3 transparent; a second picture of white after the first.
    std::string palette, indices;
    for (int i = 0; i < 16; ++i)
        for (int shift : {16, 8, 0}) palette += std::to_string((BmpPaletteColour(i) >> shift) & 0xFF) + ",";
    for (int i = 0; i < kBmpWidth * kBmpHeight; ++i) indices += std::to_string(BmpIndex(i % kBmpWidth, i / kBmpWidth)) + ",";
    const CliRun made = RunPil(size +
        "first, white = Image.new('P', size), Image.new('P', size, 15)\n"
        "for picture in (first, white): picture.putpalette([" + palette + "])\n"
        "first.putdata([" + indices + "])\n"
        "first.save('" + Path("p.gif") + "', save_all=True, append_images=[white], transparency=3, optimize=False)");
    ASSERT_EQ(made.status, 0) << made.out;
    writePng("t.png", [](int x, int y) { return BmpIndex(x, y) == 3 ? 0u : BmpPixel(x, y); });
    const std::string transparent = import("t.png");
    ASSERT_NE(transparent, want);
    EXPECT_EQ(import("p.gif"), transparent);
}

// The GIF is checked by PIL, a decoder of its own, against the player's
// pictures of the same screen and frames.
TEST_F(CliTest, AnimatedGifShowsWhatThePlayerShows)
{
    // Frames 1, 3, 4 and 6: 3 and 4 the same cells (a picture with no
    // change), 6 a single cell in the corner of a black canvas.
    const std::string screen = RenderSample(), frames = "1 0 0 4 2\n3 5 0 7 4\n4 5 0 7 4\n# a dot\n6 20 10 20 10\n";
    Write("in.txt", screen);
    Write("walk.vxf", frames);
    ResetCore();
    ASSERT_TRUE(LoadFont(VEXA_FONT_FILE));
    ASSERT_TRUE(ReadScreenFile(screen.data(), screen.size(), nullptr));
    ASSERT_TRUE(ReadFramesFile(frames.data(), frames.size(), gFrames, nullptr));
    const auto check = [&](const std::string& gif, int k, int delayMs) {
        Write("expected", PlayerPictures(k, delayMs));
        return RunCommand(std::string(VEXA_PYTHON) + " " + VEXA_SOURCE_DIR + "/tests/gif/check_gif.py " + Path(gif) +
                          " " + Path("expected"));
    };
    const std::string export_ = "export " + Path("in.txt") + " ";
    CliRun r = RunCli(export_ + Path("a.gif") + " --frames " + Path("walk.vxf") + " --zoom 2 --delay 256");
    ASSERT_EQ(r.status, 0) << r.out;
    r = check("a.gif", 2, 260);  // kept to the nearest hundredth
    EXPECT_TRUE(r.status == 0 && r.out == "ok\n") << r.out;
    // By default the player's opening speed, 192 ms, kept as 190.
    ASSERT_EQ(RunCli(export_ + Path("b.gif") + " --frames " + Path("walk.vxf")).status, 0);
    r = check("b.gif", 1, 190);
    EXPECT_TRUE(r.status == 0 && r.out == "ok\n") << r.out;

    // No frames file or a delay a GIF cannot keep: exit 2 (a delay that is
    // no number: the MZF animation's test); a frames file without a frame:
    // exit 1. Nothing is written.
    Write("none.vxf", "# nothing yet\n");
    const std::pair<std::string, int> refused[] = {
        {"", 2}, {" --frames " + Path("walk.vxf") + " --delay 9", 2}, {" --frames " + Path("walk.vxf") + " --delay 655360", 2},
        {" --frames " + Path("none.vxf"), 1}};
    for (const auto& [options, status] : refused) {
        r = RunCli(export_ + Path("no.gif") + options);
        EXPECT_TRUE(r.status == status && !r.out.empty()) << options << ": " << r.status << " " << r.out;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("no.gif")));
}

TEST_F(CliTest, AnimateMakesAnMzfOfTheFramesOrSaysWhyNot)
{
    Write("walk.txt", Sloppy());
    Write("walk.vxf", "# two frames\n2 0 0 3 1\n5 4 0 7 1\n");
    Write("none.vxf", "# no frame yet\n");
    Write("bad.vxf", "1 0 0 3 3\n2 4 0 40 3\n");
    const std::string in = Path("walk.txt") + " ", frames = " --frames " + Path("walk.vxf") + " --animate";
    // What the core makes of the same screen and frames.
    ResetCore();
    const std::string screen = Sloppy();
    ASSERT_TRUE(ReadScreenFile(screen.data(), screen.size(), nullptr));
    ResetFrames();
    gFrames[1] = {0, 0, 3, 1};
    gFrames[4] = {4, 0, 7, 1};
    const auto made = [](const char* name, int delay, bool clearMarks) {
        std::string mzf;
        EXPECT_EQ(AnimationMzfImage(name, delay, clearMarks, mzf), AnimationRefusal::None);
        return mzf;
    };
    // At the player's opening speed unless --delay says otherwise.
    ASSERT_EQ(RunCli("export " + in + Path("a.mzf") + frames).status, 0);
    EXPECT_EQ(ReadBack("a.mzf"), made("WALK", 192, false));
    ASSERT_EQ(RunCli("export " + in + Path("b") + frames + " --format mzf --delay 500 --name hop --clear-marks").status, 0);
    EXPECT_EQ(ReadBack("b"), made("HOP", 500, true));

    // A damaged frames file, for any export, and frames that cannot be
    // animated exit 1 with the reason; wrong options or a missing frames
    // file exit 2. Nothing is written.
    const std::string kAnimateUsage =
        "vexa-cli: --animate: makes an MZF of the frames that --frames FILE reads; give an OUT.mzf and --frames FILE\n"
        "Run 'vexa-cli --help' for the whole usage.\n";
    const struct {
        std::string args;
        int status;
        std::string said;
    } refused[] = {
        {frames + " --delay 65536", 1, "vexa-cli: cannot animate: the delay can be 65535 ms at most\n"},
        {frames + " --delay 0", 1,
         "vexa-cli: cannot animate: copying a frame takes longer than 0 ms; the delay must be at least 1 ms\n"},
        {" --frames " + Path("none.vxf") + " --animate", 1,
         "vexa-cli: cannot animate: '" + Path("none.vxf") + "' defines no frame\n"},
        {" --frames " + Path("bad.vxf"), 1,
         "vexa-cli: '" + Path("bad.vxf") +
             "' is not a frames file: line 2: the cells are not a rectangle of the 40 x 25 screen\n"},
        {" --animate", 2, kAnimateUsage},
        {frames + " --format bin", 2, kAnimateUsage},
    };
    for (const auto& r : refused) {
        const CliRun run = RunCli("export " + in + Path("x.mzf") + r.args);
        EXPECT_EQ(run.status, r.status) << r.args;
        EXPECT_EQ(run.out, r.said) << r.args;
    }
    EXPECT_EQ(RunCli("export " + in + Path("x.mzf") + " --frames " + Path("missing.vxf")).status, 2);
    for (const char* delay : {"-5", "1e3", "", "1234567890"})
        EXPECT_EQ(RunCli("export " + in + Path("x.mzf") + frames + " --delay '" + delay + "'").status, 2) << delay;
    EXPECT_FALSE(std::filesystem::exists(Path("x.mzf")));
}
