// fontc: compiles the font sources into the 4096-byte font image.
//
//   fontc OUT.dat IN.txt [IN.txt ...]
//
// Source format, one item per line:
//   ;; text         a free comment, ignored
//   ; NNN name     a glyph header: NNN is the glyph number as exactly three hex
//                  digits (000-1FF), then a space and the character it stands for
//   ########       exactly eight pixel rows follow each header, eight characters
//                  each, '#' foreground and '.' background, leftmost pixel first
//   (empty line)   ignored between glyphs
// A '\r' at a line's end is dropped, so files checked out with CRLF compile too.
// Every one of the 512 glyphs must be defined exactly once across all inputs.
// On any error nothing is written and the exit status is 1.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int GlyphCount = 512;
constexpr int GlyphRows = 8;
constexpr int GlyphColumns = 8;
constexpr size_t ImageSize = GlyphCount * GlyphRows;

struct Place {
    std::string file;
    int line = 0;
};

struct FontBuild {
    unsigned char image[ImageSize] = {};
    bool defined[GlyphCount] = {};
    Place definedAt[GlyphCount];
    int errors = 0;
};

void ReportError(FontBuild& build, const std::string& file, int line, const std::string& message)
{
    std::fprintf(stderr, "%s:%d: error: %s\n", file.c_str(), line, message.c_str());
    ++build.errors;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Parses "; NNN name"; returns the glyph number or -1 after reporting why not.
int ParseHeader(FontBuild& build, const std::string& file, int line, const std::string& text)
{
    if (text.size() < 7 || text.compare(0, 2, "; ") != 0 || text[5] != ' ') {
        ReportError(build, file, line,
                    "expected a glyph header '; NNN name' with a three-digit hex glyph number");
        return -1;
    }
    int number = 0;
    for (int i = 2; i < 5; ++i) {
        int digit = HexDigitValue(text[i]);
        if (digit < 0) {
            ReportError(build, file, line, "glyph number '" + text.substr(2, 3) + "' is not hexadecimal");
            return -1;
        }
        number = number * 16 + digit;
    }
    if (number >= GlyphCount) {
        ReportError(build, file, line, "glyph number " + text.substr(2, 3) + " is out of range 000-1FF");
        return -1;
    }
    if (text.find_first_not_of(' ', 6) == std::string::npos) {
        ReportError(build, file, line, "glyph header names no character");
        return -1;
    }
    return number;
}

// Parses one pixel row into its byte; returns false after reporting why not.
bool ParseRow(FontBuild& build, const std::string& file, int line, const std::string& text,
              unsigned char& bits)
{
    if (text.size() != GlyphColumns) {
        ReportError(build, file, line,
                    "pixel row has " + std::to_string(text.size()) + " characters, expected 8");
        return false;
    }
    bits = 0;
    for (int i = 0; i < GlyphColumns; ++i) {
        if (text[i] == '#') {
            bits |= static_cast<unsigned char>(0x80 >> i);
        } else if (text[i] != '.') {
            ReportError(build, file, line, "pixel row may hold only '#' and '.'");
            return false;
        }
    }
    return true;
}

void CompileFile(FontBuild& build, const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: error: cannot open\n", file.c_str());
        ++build.errors;
        return;
    }
    std::vector<std::string> lines;
    for (std::string text; std::getline(in, text);) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        lines.push_back(text);
    }

    size_t i = 0;
    while (i < lines.size()) {
        const std::string& text = lines[i];
        int line = static_cast<int>(i) + 1;
        if (text.empty() || text.compare(0, 2, ";;") == 0) {
            ++i;
            continue;
        }
        if (text[0] != ';') {
            ReportError(build, file, line, "expected a glyph header or a ';;' comment");
            ++i;
            continue;
        }
        int glyph = ParseHeader(build, file, line, text);
        ++i;
        unsigned char rows[GlyphRows] = {};
        bool rowsOk = true;
        for (int r = 0; r < GlyphRows; ++r, ++i) {
            if (i >= lines.size()) {
                ReportError(build, file, static_cast<int>(i),
                            "file ends inside a glyph: expected 8 pixel rows");
                return;
            }
            rowsOk = ParseRow(build, file, static_cast<int>(i) + 1, lines[i], rows[r]) && rowsOk;
        }
        if (glyph < 0 || !rowsOk) {
            continue;
        }
        if (build.defined[glyph]) {
            const Place& first = build.definedAt[glyph];
            ReportError(build, file, line,
                        "glyph " + text.substr(2, 3) + " is already defined at " + first.file + ":" +
                            std::to_string(first.line));
            continue;
        }
        build.defined[glyph] = true;
        build.definedAt[glyph] = {file, line};
        for (int r = 0; r < GlyphRows; ++r) {
            build.image[glyph * GlyphRows + r] = rows[r];
        }
    }
}

bool WriteImage(const FontBuild& build, const char* path)
{
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "%s: error: cannot create\n", path);
        return false;
    }
    bool ok = std::fwrite(build.image, 1, ImageSize, out) == ImageSize;
    ok = std::fclose(out) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "%s: error: cannot write\n", path);
        std::remove(path);  // a short font would load silently with blank glyphs
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: fontc OUT.dat IN.txt [IN.txt ...]\n");
        return 2;
    }
    static FontBuild build;
    for (int a = 2; a < argc; ++a) {
        CompileFile(build, argv[a]);
    }
    // Missing glyphs are reported as runs: a forgotten file is one line, not 256.
    for (int g = 0; g < GlyphCount;) {
        if (build.defined[g]) {
            ++g;
            continue;
        }
        int last = g;
        while (last + 1 < GlyphCount && !build.defined[last + 1]) {
            ++last;
        }
        if (last == g) {
            std::fprintf(stderr, "error: glyph %03X is not defined in any input\n", static_cast<unsigned>(g));
        } else {
            std::fprintf(stderr, "error: glyphs %03X-%03X are not defined in any input\n",
                         static_cast<unsigned>(g), static_cast<unsigned>(last));
        }
        ++build.errors;
        g = last + 1;
    }
    if (build.errors > 0) {
        std::fprintf(stderr, "fontc: %d error(s); %s not written\n", build.errors, argv[1]);
        return 1;
    }
    return WriteImage(build, argv[1]) ? 0 : 1;
}
