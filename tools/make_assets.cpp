// make_assets: turns the drawings under res/ into the toolbar bitmap and the
// icons at build time, so that the pictures stay reviewable as text.
//
//   make_assets bmp OUT.bmp DRAWING.txt        8 bits per pixel with palette
//   make_assets ico OUT.ico DRAWING.txt...     16 colours, one image per drawing
//
// A drawing is a text file. "colour C R G B [words]" gives pixel character C
// the next palette index and that colour; "image NAME..." starts the next
// image, whose rows follow as lines of pixel characters (no spaces). All
// images of a drawing have the same size and are laid side by side, left to
// right, in the order they appear. Blank lines and lines starting with '#'
// are ignored.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Colour {
    std::uint8_t r, g, b;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Colour> palette;
    std::vector<std::uint8_t> pixels;  // palette indices, top row first
};

struct Image {
    std::string name;
    std::vector<std::string> rows;
};

bool Fail(const std::string& where, const std::string& message)
{
    std::fprintf(stderr, "make_assets: %s: %s\n", where.c_str(), message.c_str());
    return false;
}

bool ParseColourValue(const std::string& text, std::uint8_t& value)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int n = std::stoi(text);
    if (n > 255)
        return false;
    value = static_cast<std::uint8_t>(n);
    return true;
}

// Reads one drawing and joins its images side by side.
bool ReadDrawing(const std::string& path, Picture& picture)
{
    std::ifstream in(path);
    if (!in)
        return Fail(path, "cannot open");
    std::map<char, std::uint8_t> index;
    std::vector<Image> images;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = path + ":" + std::to_string(number);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line.find_first_of(" \t") == std::string::npos) {
            if (images.empty())
                return Fail(where, "pixel row before the first image");
            for (char c : line)
                if (index.count(c) == 0)
                    return Fail(where, std::string("pixel character '") + c + "' has no colour");
            images.back().rows.push_back(line);
            continue;
        }
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "colour") {
            std::string c, r, g, b;
            words >> c >> r >> g >> b;
            Colour colour{};
            if (c.size() != 1 || c[0] == '#' || !ParseColourValue(r, colour.r) || !ParseColourValue(g, colour.g) ||
                !ParseColourValue(b, colour.b))
                return Fail(where, "expected: colour C R G B");
            if (!images.empty())
                return Fail(where, "colours must come before the images");
            if (index.count(c[0]) != 0)
                return Fail(where, "colour '" + c + "' given twice");
            if (picture.palette.size() == 256)
                return Fail(where, "more than 256 colours");
            index[c[0]] = static_cast<std::uint8_t>(picture.palette.size());
            picture.palette.push_back(colour);
        } else if (keyword == "image") {
            std::string name;
            std::getline(words, name);
            images.push_back({name, {}});
        } else {
            return Fail(where, "unknown line");
        }
    }
    if (images.empty() || images[0].rows.empty())
        return Fail(path, "no image");
    const int tileWidth = static_cast<int>(images[0].rows[0].size());
    const int tileHeight = static_cast<int>(images[0].rows.size());
    for (const Image& image : images) {
        if (static_cast<int>(image.rows.size()) != tileHeight)
            return Fail(path, "image" + image.name + " is not " + std::to_string(tileHeight) + " rows high");
        for (const std::string& row : image.rows)
            if (static_cast<int>(row.size()) != tileWidth)
                return Fail(path, "image" + image.name + " has a row not " + std::to_string(tileWidth) + " wide");
    }
    picture.width = tileWidth * static_cast<int>(images.size());
    picture.height = tileHeight;
    picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height, 0);
    for (size_t i = 0; i < images.size(); ++i)
        for (int y = 0; y < tileHeight; ++y)
            for (int x = 0; x < tileWidth; ++x)
                picture.pixels[static_cast<size_t>(y) * picture.width + i * tileWidth + x] =
                    index[images[i].rows[y][x]];
    return true;
}

// Little-endian byte writer for the Windows file formats.
struct Bytes {
    std::vector<std::uint8_t> data;
    void U8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v)
    {
        U8(v & 0xFF);
        U8((v >> 8) & 0xFF);
    }
    void U32(std::uint32_t v)
    {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
};

int RowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

void InfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize, std::uint32_t colours)
{
    out.U32(40);
    out.U32(static_cast<std::uint32_t>(width));
    out.U32(static_cast<std::uint32_t>(height));
    out.U16(1);
    out.U16(static_cast<unsigned>(bitsPerPixel));
    out.U32(0);  // BI_RGB
    out.U32(imageSize);
    out.U32(0);
    out.U32(0);
    out.U32(colours);
    out.U32(0);
}

void PaletteEntries(Bytes& out, const std::vector<Colour>& palette, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const Colour c = i < palette.size() ? palette[i] : Colour{0, 0, 0};
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        out.U8(0);
    }
}

Bytes Bitmap8(const Picture& picture)
{
    const int stride = RowBytes(picture.width, 8);
    const std::uint32_t imageSize = static_cast<std::uint32_t>(stride) * picture.height;
    const std::uint32_t headers = 14 + 40 + 4 * static_cast<std::uint32_t>(picture.palette.size());
    Bytes out;
    out.U8('B');
    out.U8('M');
    out.U32(headers + imageSize);
    out.U32(0);
    out.U32(headers);
    InfoHeader(out, picture.width, picture.height, 8, imageSize, static_cast<std::uint32_t>(picture.palette.size()));
    PaletteEntries(out, picture.palette, picture.palette.size());
    for (int y = picture.height - 1; y >= 0; --y) {  // bottom-up
        for (int x = 0; x < stride; ++x)
            out.U8(x < picture.width ? picture.pixels[static_cast<size_t>(y) * picture.width + x] : 0);
    }
    return out;
}

// One image of an icon file: header, 16-entry palette, 4-bit colour rows and
// an all-opaque AND mask, both bottom-up.
Bytes IconImage4(const Picture& picture)
{
    const int colourStride = RowBytes(picture.width, 4);
    const int maskStride = RowBytes(picture.width, 1);
    const std::uint32_t imageSize = static_cast<std::uint32_t>((colourStride + maskStride) * picture.height);
    Bytes out;
    InfoHeader(out, picture.width, picture.height * 2, 4, imageSize, 0);
    PaletteEntries(out, picture.palette, 16);
    for (int y = picture.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<size_t>(colourStride), 0);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t v = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            row[static_cast<size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v);
        }
        out.data.insert(out.data.end(), row.begin(), row.end());
    }
    out.data.insert(out.data.end(), static_cast<size_t>(maskStride) * picture.height, 0);
    return out;
}

Bytes IconFile(const std::vector<Picture>& pictures)
{
    std::vector<Bytes> images;
    for (const Picture& picture : pictures)
        images.push_back(IconImage4(picture));
    Bytes out;
    out.U16(0);
    out.U16(1);  // icon
    out.U16(static_cast<unsigned>(pictures.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        out.U8(static_cast<unsigned>(pictures[i].width & 0xFF));  // 0 stands for 256
        out.U8(static_cast<unsigned>(pictures[i].height & 0xFF));
        out.U8(16);
        out.U8(0);
        out.U16(1);
        out.U16(4);
        out.U32(static_cast<std::uint32_t>(images[i].data.size()));
        out.U32(offset);
        offset += static_cast<std::uint32_t>(images[i].data.size());
    }
    for (const Bytes& image : images)
        out.data.insert(out.data.end(), image.data.begin(), image.data.end());
    return out;
}

bool WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data.data()), static_cast<std::streamsize>(bytes.data.size()));
    out.close();
    if (!out) {
        std::remove(path.c_str());
        return Fail(path, "cannot write");
    }
    return true;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: make_assets bmp OUT.bmp DRAWING.txt\n"
                 "       make_assets ico OUT.ico DRAWING.txt...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return Usage();
    const std::string kind = argv[1];
    const std::string output = argv[2];
    if (kind == "bmp") {
        if (argc != 4)
            return Usage();
        Picture picture;
        if (!ReadDrawing(argv[3], picture))
            return 1;
        return WriteBytes(output, Bitmap8(picture)) ? 0 : 1;
    }
    if (kind == "ico") {
        std::vector<Picture> pictures;
        for (int i = 3; i < argc; ++i) {
            Picture picture;
            if (!ReadDrawing(argv[i], picture))
                return 1;
            if (picture.palette.size() > 16) {
                Fail(argv[i], "an icon has at most 16 colours");
                return 1;
            }
            if (picture.width > 256 || picture.height > 256) {
                Fail(argv[i], "an icon is at most 256 x 256");
                return 1;
            }
            pictures.push_back(picture);
        }
        return WriteBytes(output, IconFile(pictures)) ? 0 : 1;
    }
    return Usage();
}
