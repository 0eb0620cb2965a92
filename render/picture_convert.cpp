#include "render/picture_convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "render/font.h"
#include "render/view.h"

namespace {

constexpr int kColours = 8;
constexpr int kSubColumns = 2 * kScreenColumns, kSubRows = 2 * kScreenRows;

struct Rgbf {
    float r, g, b;
};
struct Lab {
    float l, a, b;
};

float Linear(float c)
{
    c /= 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

float LabCurve(float t) { return t > 0.008856f ? std::cbrt(t) : 7.787f * t + 16.0f / 116.0f; }

// sRGB (0-255) to CIELAB under D65.
Lab ToLab(const Rgbf& c)
{
    const float r = Linear(c.r), g = Linear(c.g), b = Linear(c.b);
    const float x = (0.4124f * r + 0.3576f * g + 0.1805f * b) / 0.95047f;
    const float y = 0.2126f * r + 0.7152f * g + 0.0722f * b;
    const float z = (0.0193f * r + 0.1192f * g + 0.9505f * b) / 1.08883f;
    const float fx = LabCurve(x), fy = LabCurve(y), fz = LabCurve(z);
    return {116.0f * fy - 16.0f, 500.0f * (fx - fy), 200.0f * (fy - fz)};
}

float Distance(const Lab& p, const Lab& q)
{
    const float dl = p.l - q.l, da = p.a - q.a, db = p.b - q.b;
    return dl * dl + da * da + db * db;
}

Rgbf Unpack(uint32_t c) { return {float((c >> 16) & 0xFF), float((c >> 8) & 0xFF), float(c & 0xFF)}; }

struct Palette {
    Lab lab[kColours];
    int distance[kColours][kColours];  // squared LAB distances, rounded
    Palette()
    {
        for (int c = 0; c < kColours; ++c) lab[c] = ToLab(Unpack(kColourTable[c]));
        for (int c = 0; c < kColours; ++c)
            for (int x = 0; x < kColours; ++x) distance[c][x] = static_cast<int>(Distance(lab[c], lab[x]) + 0.5f);
    }
};
const Palette& ThePalette()
{
    static const Palette palette;
    return palette;
}

// Where the picture lies on the canvas (canvas pixels) and which part of it
// is shown, for each way of fitting.
struct Placement {
    double left, top, width, height;  // on the canvas
    double sx, sy, sw, sh;            // of the picture
};

Placement Place(int w, int h, ConvertFit fit)
{
    const double cw = kCanvasWidthAt1, ch = kCanvasHeightAt1;
    if (fit == ConvertFit::Stretch) return {0, 0, cw, ch, 0, 0, double(w), double(h)};
    if (fit == ConvertFit::Letterbox) {
        const double s = std::min(cw / w, ch / h);
        return {(cw - w * s) / 2, (ch - h * s) / 2, w * s, h * s, 0, 0, double(w), double(h)};
    }
    const double s = std::max(cw / w, ch / h);
    return {0, 0, cw, ch, (w - cw / s) / 2, (h - ch / s) / 2, cw / s, ch / s};
}

// Rounding that forgives the last bits of a division: 3 / 200 x 200 is
// 2.9999999999999996, and must still be pixel 3.
constexpr double kSlack = 1e-9;
int Down(double v) { return static_cast<int>(std::floor(v + kSlack)); }
int Up(double v) { return static_cast<int>(std::ceil(v - kSlack)); }

// The picture on a gw x gh grid over the canvas: each point the average of
// the picture pixels it covers, black outside the picture.
std::vector<Rgbf> Resample(const uint32_t* pixels, int w, int h, ConvertFit fit, int gw, int gh)
{
    std::vector<Rgbf> grid(static_cast<size_t>(gw) * gh, Rgbf{0, 0, 0});
    if (!pixels || w <= 0 || h <= 0) return grid;
    const Placement p = Place(w, h, fit);
    const double cellW = double(kCanvasWidthAt1) / gw, cellH = double(kCanvasHeightAt1) / gh;
    for (int gy = 0; gy < gh; ++gy) {
        const double y0 = std::max(gy * cellH, p.top), y1 = std::min((gy + 1) * cellH, p.top + p.height);
        if (y1 <= y0 || (gy + 0.5) * cellH < p.top || (gy + 0.5) * cellH >= p.top + p.height) continue;
        const int sy0 = std::clamp(Down(p.sy + (y0 - p.top) / p.height * p.sh), 0, h - 1);
        const int sy1 = std::clamp(Up(p.sy + (y1 - p.top) / p.height * p.sh), sy0 + 1, h);
        for (int gx = 0; gx < gw; ++gx) {
            const double x0 = std::max(gx * cellW, p.left), x1 = std::min((gx + 1) * cellW, p.left + p.width);
            if (x1 <= x0 || (gx + 0.5) * cellW < p.left || (gx + 0.5) * cellW >= p.left + p.width) continue;
            const int sx0 = std::clamp(Down(p.sx + (x0 - p.left) / p.width * p.sw), 0, w - 1);
            const int sx1 = std::clamp(Up(p.sx + (x1 - p.left) / p.width * p.sw), sx0 + 1, w);
            Rgbf sum = {0, 0, 0};
            for (int sy = sy0; sy < sy1; ++sy)
                for (int sx = sx0; sx < sx1; ++sx) {
                    const Rgbf c = Unpack(pixels[static_cast<size_t>(sy) * w + sx]);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            const float n = float((sy1 - sy0) * (sx1 - sx0));
            grid[static_cast<size_t>(gy) * gw + gx] = {sum.r / n, sum.g / n, sum.b / n};
        }
    }
    return grid;
}

void Adjust(std::vector<Rgbf>& grid, int brightness, int contrast)
{
    if (brightness == 0 && contrast == 0) return;
    const float gain = 1.0f + std::clamp(contrast, -100, 100) / 100.0f;
    const float shift = std::clamp(brightness, -100, 100) * 2.55f;
    const auto one = [&](float v) { return std::clamp((v - 127.5f) * gain + 127.5f + shift, 0.0f, 255.0f); };
    for (Rgbf& c : grid) c = {one(c.r), one(c.g), one(c.b)};
}

// A colour number from one on-or-off decision per channel: the palette is
// the corners of the RGB cube.
int FromChannels(bool r, bool g, bool b) { return (b ? 1 : 0) | (r ? 2 : 0) | (g ? 4 : 0); }

std::vector<uint8_t> Nearest(const std::vector<Rgbf>& grid)
{
    const Palette& palette = ThePalette();
    std::vector<uint8_t> out(grid.size());
    for (size_t i = 0; i < grid.size(); ++i) {
        const Lab lab = ToLab(grid[i]);
        int best = 0;
        for (int c = 1; c < kColours; ++c)
            if (Distance(lab, palette.lab[c]) < Distance(lab, palette.lab[best])) best = c;
        out[i] = static_cast<uint8_t>(best);
    }
    return out;
}

// Ordered dithering, each channel against a 4 x 4 Bayer threshold.
std::vector<uint8_t> Bayer(const std::vector<Rgbf>& grid, int gw)
{
    constexpr int kMatrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::vector<uint8_t> out(grid.size());
    for (size_t i = 0; i < grid.size(); ++i) {
        const int x = static_cast<int>(i % gw), y = static_cast<int>(i / gw);
        const float t = (kMatrix[y & 3][x & 3] + 0.5f) * 255.0f / 16.0f;
        out[i] = static_cast<uint8_t>(FromChannels(grid[i].r > t, grid[i].g > t, grid[i].b > t));
    }
    return out;
}

// Floyd-Steinberg error diffusion, each channel on or off at the middle.
std::vector<uint8_t> FloydSteinberg(std::vector<Rgbf> grid, int gw, int gh)
{
    std::vector<uint8_t> out(grid.size());
    const auto spread = [&](int x, int y, const Rgbf& e, float part) {
        if (x < 0 || x >= gw || y >= gh) return;
        Rgbf& c = grid[static_cast<size_t>(y) * gw + x];
        c = {c.r + e.r * part, c.g + e.g * part, c.b + e.b * part};
    };
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) {
            const Rgbf c = grid[static_cast<size_t>(y) * gw + x];
            const bool r = c.r > 127.5f, g = c.g > 127.5f, b = c.b > 127.5f;
            out[static_cast<size_t>(y) * gw + x] = static_cast<uint8_t>(FromChannels(r, g, b));
            const Rgbf e = {c.r - (r ? 255 : 0), c.g - (g ? 255 : 0), c.b - (b ? 255 : 0)};
            spread(x + 1, y, e, 7 / 16.0f);
            spread(x - 1, y + 1, e, 3 / 16.0f);
            spread(x, y + 1, e, 5 / 16.0f);
            spread(x + 1, y + 1, e, 1 / 16.0f);
        }
    return out;
}

std::vector<uint8_t> Quantise(const std::vector<Rgbf>& grid, ConvertDither dither, int gw, int gh)
{
    switch (dither) {
    case ConvertDither::Pattern: return Bayer(grid, gw);
    case ConvertDither::Grain: return FloydSteinberg(grid, gw, gh);
    case ConvertDither::None: break;
    }
    return Nearest(grid);
}

// Each cell's four sub-blocks: the pair of colours, and which sub-blocks take
// the first, that differ least from them.
void FitBlocks(const std::vector<Lab>& subBlocks, ConvertedScreen& out)
{
    const Palette& palette = ThePalette();
    for (int row = 0; row < kScreenRows; ++row)
        for (int column = 0; column < kScreenColumns; ++column) {
            float d[4][kColours];
            for (int q = 0; q < 4; ++q) {
                const Lab& t = subBlocks[static_cast<size_t>(2 * row + q / 2) * kSubColumns + 2 * column + q % 2];
                for (int c = 0; c < kColours; ++c) d[q][c] = Distance(t, palette.lab[c]);
            }
            float best = 1e30f;
            int bestF = 0, bestB = 0, bestMask = 0;
            for (int f = 0; f < kColours; ++f)
                for (int b = 0; b < kColours; ++b) {
                    float cost = 0;
                    int mask = 0;
                    for (int q = 0; q < 4; ++q) {
                        if (d[q][f] <= d[q][b]) mask |= 1 << q;
                        cost += std::min(d[q][f], d[q][b]);
                    }
                    if (cost < best) {
                        best = cost;
                        bestF = f;
                        bestB = b;
                        bestMask = mask;
                    }
                }
            const int i = CellIndex(column, row);
            out.code[i] = kSemigraphicBase | bestMask;
            out.attr[i] = bestF << 4 | bestB;
        }
}

// Each cell's 64 pixels, classed by colour, against every glyph allowed: the
// pixels a glyph's set bits cover take its foreground, the others its
// background, and each pixel costs the distance from its colour to the one
// it gets. Counting a class's pixels under a glyph is one popcount.
void FitCharacters(const std::vector<uint8_t>& classes, const std::bitset<kGlyphNumbers>& allowed,
                   ConvertedScreen& out)
{
    const Palette& palette = ThePalette();
    uint64_t glyph[kGlyphNumbers];
    for (int g = 0; g < kGlyphNumbers; ++g) {
        glyph[g] = 0;
        for (int r = 0; r < kGlyphBytes; ++r) glyph[g] |= uint64_t{gFontImage[g * kGlyphBytes + r]} << (8 * r);
    }
    for (int row = 0; row < kScreenRows; ++row)
        for (int column = 0; column < kScreenColumns; ++column) {
            uint64_t mask[kColours] = {};
            int total[kColours] = {};
            for (int y = 0; y < kCellPixels; ++y)
                for (int x = 0; x < kCellPixels; ++x) {
                    const int c = classes[static_cast<size_t>(row * kCellPixels + y) * kCanvasWidthAt1 +
                                          column * kCellPixels + x];
                    mask[c] |= uint64_t{1} << (8 * y + 7 - x);  // bit 7 of a glyph row is its left pixel
                    ++total[c];
                }
            int present[kColours], n = 0;
            for (int c = 0; c < kColours; ++c)
                if (total[c]) present[n++] = c;
            int allBackground[kColours];  // every pixel in background x
            for (int x = 0; x < kColours; ++x) {
                allBackground[x] = 0;
                for (int k = 0; k < n; ++k) allBackground[x] += total[present[k]] * palette.distance[present[k]][x];
            }
            int best = 1 << 30, bestGlyph = 0, bestF = 0, bestB = 0;
            for (int g = 0; g < kGlyphNumbers; ++g) {
                if (!allowed[g]) continue;
                int covered[kColours];
                for (int k = 0; k < n; ++k) covered[k] = __builtin_popcountll(glyph[g] & mask[present[k]]);
                int f = 0, b = 0, costF = 1 << 30, costB = 1 << 30;
                for (int x = 0; x < kColours; ++x) {
                    int under = 0;  // the covered pixels in x
                    for (int k = 0; k < n; ++k) under += covered[k] * palette.distance[present[k]][x];
                    // The uncovered pixels in x cost what all of them would, less the covered ones.
                    if (under < costF) costF = under, f = x;
                    if (allBackground[x] - under < costB) costB = allBackground[x] - under, b = x;
                }
                if (costF + costB < best) {
                    best = costF + costB;
                    bestGlyph = g;
                    bestF = f;
                    bestB = b;
                }
            }
            const int i = CellIndex(column, row);
            out.code[i] = bestGlyph & 0xFF;
            out.attr[i] = (bestGlyph >= 256 ? kAttrCharSet : 0) | bestF << 4 | bestB;
        }
}

}  // namespace

void ConvertPicture(const uint32_t* pixels, int width, int height, const ConvertOptions& options,
                    ConvertedScreen& out)
{
    const bool blocks = options.mode == ConvertMode::Semigraphic;
    const int gw = blocks ? kSubColumns : kCanvasWidthAt1, gh = blocks ? kSubRows : kCanvasHeightAt1;
    std::vector<Rgbf> grid = Resample(pixels, width, height, options.fit, gw, gh);
    Adjust(grid, options.brightness, options.contrast);
    if (blocks) {
        std::vector<Lab> targets(grid.size());
        if (options.dither == ConvertDither::None) {
            for (size_t i = 0; i < grid.size(); ++i) targets[i] = ToLab(grid[i]);
        } else {
            const std::vector<uint8_t> dithered = Quantise(grid, options.dither, gw, gh);
            for (size_t i = 0; i < grid.size(); ++i) targets[i] = ThePalette().lab[dithered[i]];
        }
        FitBlocks(targets, out);
        return;
    }
    std::bitset<kGlyphNumbers> allowed = options.glyphs;
    if (allowed.none()) allowed.set(kSemigraphicBase);  // a blank block shows every colour pair
    FitCharacters(Quantise(grid, options.dither, gw, gh), allowed, out);
}
