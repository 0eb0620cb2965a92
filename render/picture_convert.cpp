#include "render/picture_convert.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/colour_difference.h"
#include "render/font.h"
#include "render/view.h"

namespace {

constexpr int kColours = 8;
constexpr int kPairs = kColours * kColours;
constexpr int kWidth = kCanvasWidthAt1, kHeight = kCanvasHeightAt1;
constexpr int kCellArea = kCellPixels * kCellPixels;
constexpr int kChannels = 3;  // red, green, blue
constexpr int kQuadrants = 4;  // 4 x 4 pixel quarters of a cell
constexpr int kLanes = 8;
constexpr float kLuminance[kChannels] = {0.2126f, 0.7152f, 0.0722f};

// The light blur the eye gives a screen seen from its usual distance, as
// weights of a pixel and its neighbours (a Gaussian of 0.8 pixels).
constexpr int kBlurRadius = 2;
struct BlurKernel {
    float w[2 * kBlurRadius + 1];
    BlurKernel()
    {
        constexpr float sigma = 0.8f;
        float sum = 0;
        for (int k = -kBlurRadius; k <= kBlurRadius; ++k) sum += w[k + kBlurRadius] = std::exp(-k * k / (2 * sigma * sigma));
        for (float& v : w) v /= sum;
    }
};
const BlurKernel kBlurKernel;
const float* const kBlur = kBlurKernel.w;

// How the choices are weighed, found by measuring pictures of every kind
// (bench/quality). Colour counts less than lightness where the eye sees
// fine detail, and more over areas.
constexpr int kShortList = 16;            // character cells ranked again as the eye sees them
constexpr float kLinearChroma = 0.05f;    // each channel beside luminance, in the first ranking
constexpr float kQuadrantColour = 0.5f;   // a quadrant's CIEDE2000, squared, beside each pixel's lightness
// A glyph with a shape of its own (a letter, a kana, a sign) must show the
// picture clearly better than a plain texture does to be chosen.
constexpr float kShapePenalty = 1.3f;
// The first ranking compares light raised to this power (see Cell).
constexpr float kRankingPower = 0.8f;
// Grain carries at most this much light on to a cell (near-black stays
// black), and only a share of the part of an error beyond what a cell can be
// forgiven: the eye sees a block's or a cell's noise more than the error it
// evens out.
constexpr float kCarryLimit = 0.1f;
constexpr float kCharacterForgiven = 0.12f, kCharacterGrain = 0.5f;
// Semigraphic grain chooses only among colours this close (CIEDE2000) to the
// quadrant's best; kFarOff puts the others out of reach.
constexpr float kBlockGrainMargin = 2.0f, kFarOff = 1000.0f;
// Ordered dithering's strength: the widest step scales light by this much.
constexpr float kCharacterPattern = 0.5f, kBlockPattern = 0.25f;

// A colour number's channels, each fully on or off: the palette is the
// corners of the RGB cube, in linear light as in sRGB.
struct Corner {
    float c[kChannels];
};
Corner CornerOf(int colour) { return {{float((colour >> 1) & 1), float((colour >> 2) & 1), float(colour & 1)}}; }

float LinearFromSrgb(float c)
{
    c /= 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

float LabCurve(float t) { return t > 0.008856f ? std::cbrt(t) : 7.787f * t + 16.0f / 116.0f; }

// Linear light of every 8-bit value, after the user's brightness and contrast.
struct LinearTable {
    float v[256];
    LinearTable(int brightness, int contrast)
    {
        const float gain = 1.0f + std::clamp(contrast, -100, 100) / 100.0f;
        const float shift = std::clamp(brightness, -100, 100) * 2.55f;
        for (int i = 0; i < 256; ++i) v[i] = LinearFromSrgb(std::clamp((i - 127.5f) * gain + 127.5f + shift, 0.0f, 255.0f));
    }
};

// Where the picture lies on the canvas (canvas pixels) and which part of it
// is shown, for each way of fitting.
struct Placement {
    double left, top, width, height;  // on the canvas
    double sx, sy, sw, sh;            // of the picture
};

Placement Place(int w, int h, ConvertFit fit)
{
    const double cw = kWidth, ch = kHeight;
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

// The picture over the canvas's pixels, in linear light, one plane per
// channel: each pixel the mean of the picture pixels it covers (light adds
// up linearly, so fine bright detail keeps its share), black outside.
struct Planes {
    std::vector<float> p[kChannels];
    Planes() { for (auto& plane : p) plane.assign(kWidth * kHeight, 0.0f); }
};

Planes Resample(const uint32_t* pixels, int w, int h, ConvertFit fit, const LinearTable& linear)
{
    Planes out;
    if (!pixels || w <= 0 || h <= 0) return out;
    const Placement p = Place(w, h, fit);
    std::vector<int> sx0(kWidth, -1), sx1(kWidth, -1);
    for (int gx = 0; gx < kWidth; ++gx) {
        const double x0 = std::max<double>(gx, p.left), x1 = std::min<double>(gx + 1, p.left + p.width);
        if (x1 <= x0 || gx + 0.5 < p.left || gx + 0.5 >= p.left + p.width) continue;
        sx0[gx] = std::clamp(Down(p.sx + (x0 - p.left) / p.width * p.sw), 0, w - 1);
        sx1[gx] = std::clamp(Up(p.sx + (x1 - p.left) / p.width * p.sw), sx0[gx] + 1, w);
    }
    for (int gy = 0; gy < kHeight; ++gy) {
        const double y0 = std::max<double>(gy, p.top), y1 = std::min<double>(gy + 1, p.top + p.height);
        if (y1 <= y0 || gy + 0.5 < p.top || gy + 0.5 >= p.top + p.height) continue;
        const int sy0 = std::clamp(Down(p.sy + (y0 - p.top) / p.height * p.sh), 0, h - 1);
        const int sy1 = std::clamp(Up(p.sy + (y1 - p.top) / p.height * p.sh), sy0 + 1, h);
        for (int gx = 0; gx < kWidth; ++gx) {
            if (sx0[gx] < 0) continue;
            float sum[kChannels] = {};
            for (int sy = sy0; sy < sy1; ++sy)
                for (int sx = sx0[gx]; sx < sx1[gx]; ++sx) {
                    const uint32_t c = pixels[static_cast<size_t>(sy) * w + sx];
                    sum[0] += linear.v[(c >> 16) & 0xFF];
                    sum[1] += linear.v[(c >> 8) & 0xFF];
                    sum[2] += linear.v[c & 0xFF];
                }
            const float n = float((sy1 - sy0) * (sx1[gx] - sx0[gx]));
            for (int k = 0; k < kChannels; ++k) out.p[k][gy * kWidth + gx] = sum[k] / n;
        }
    }
    return out;
}

// The light blur within one cell's 8 x 8 pixels, the edges repeated: the
// picture and every glyph are seen through the same blur, so a picture of
// cells compares exactly with the cells that drew it.
struct BlurTaps {
    int at[kCellPixels][2 * kBlurRadius + 1];  // the neighbours of each position, edges repeated
    BlurTaps()
    {
        for (int x = 0; x < kCellPixels; ++x)
            for (int k = -kBlurRadius; k <= kBlurRadius; ++k) at[x][k + kBlurRadius] = std::clamp(x + k, 0, kCellPixels - 1);
    }
};
const BlurTaps kTaps;

void BlurCell(const float* in, float* out)
{
    float across[kCellArea];
    for (int y = 0; y < kCellPixels; ++y) {
        const float* row = in + y * kCellPixels;
        for (int x = 0; x < kCellPixels; ++x) {
            float s = 0;
            for (int k = 0; k <= 2 * kBlurRadius; ++k) s += kBlur[k] * row[kTaps.at[x][k]];
            across[y * kCellPixels + x] = s;
        }
    }
    for (int y = 0; y < kCellPixels; ++y)
        for (int x = 0; x < kCellPixels; ++x) {
            float s = 0;
            for (int k = 0; k <= 2 * kBlurRadius; ++k) s += kBlur[k] * across[kTaps.at[y][k] * kCellPixels + x];
            out[y * kCellPixels + x] = s;
        }
}

constexpr int QuadrantOf(int p) { return (p % kCellPixels) / 4 + 2 * ((p / kCellPixels) / 4); }

// A glyph as the blurred share u of foreground in each pixel; the rest is
// background. The sums make every candidate's error a quadratic form.
struct GlyphModel {
    int glyph;
    int count;      // foreground pixels
    bool neutral;   // a texture with no shape of its own: blocks, stripes, dots
    float u[kCellArea];
    float su;                // sum of u
    float uu;                // sum of u squared
    float quarter[kQuadrants];  // mean of u in each quadrant
};

// Whether a glyph is a plain texture: solid or empty rows, all rows alike,
// whole quarter blocks, or a pattern that repeats every 2 or 4 pixels both
// ways. A photo's cells look like the picture, not like writing, when made
// of these.
bool IsNeutral(const uint8_t rows[kGlyphBytes])
{
    bool same = true, solid = true, periodic2 = true, periodic4 = true, quarters = true;
    for (int r = 0; r < kGlyphBytes; ++r) {
        same = same && rows[r] == rows[0];
        solid = solid && (rows[r] == 0 || rows[r] == 0xFF);
        periodic2 = periodic2 && rows[r] == rows[r % 2] && (rows[r] >> 2 & 0x3F) == (rows[r] & 0x3F);
        periodic4 = periodic4 && rows[r] == rows[r % 4] && (rows[r] >> 4) == (rows[r] & 0x0F);
        const int left = rows[r] & 0xF0, right = rows[r] & 0x0F;
        quarters = quarters && (left == 0 || left == 0xF0) && (right == 0 || right == 0x0F) &&
                   rows[r] == rows[r < 4 ? 0 : 4];
    }
    return same || solid || periodic2 || periodic4 || quarters;
}

uint64_t GlyphBits(int g)
{
    uint64_t bits = 0;
    for (int r = 0; r < kGlyphBytes; ++r) bits |= uint64_t{gFontImage[g * kGlyphBytes + r]} << (8 * r);
    return bits;
}

// One model for each picture the allowed glyphs can draw: a glyph that looks
// like one before it, or like its reverse (the same cell with the colours
// swapped), adds no choice.
std::vector<GlyphModel> GlyphModels(const std::bitset<kGlyphNumbers>& allowed)
{
    std::vector<GlyphModel> models;
    std::vector<uint64_t> seen;
    for (int g = 0; g < kGlyphNumbers; ++g) {
        if (!allowed[g]) continue;
        const uint64_t bits = GlyphBits(g);
        if (std::find(seen.begin(), seen.end(), bits) != seen.end() ||
            std::find(seen.begin(), seen.end(), ~bits) != seen.end())
            continue;
        seen.push_back(bits);
        GlyphModel m = {};
        m.glyph = g;
        m.neutral = IsNeutral(gFontImage + g * kGlyphBytes);
        float mask[kCellArea];
        for (int p = 0; p < kCellArea; ++p) {
            const bool on = (gFontImage[g * kGlyphBytes + p / kCellPixels] >> (7 - p % kCellPixels)) & 1;
            mask[p] = on ? 1.0f : 0.0f;
            m.count += on;
        }
        BlurCell(mask, m.u);
        for (int p = 0; p < kCellArea; ++p) {
            m.su += m.u[p];
            m.uu += m.u[p] * m.u[p];
            m.quarter[QuadrantOf(p)] += m.u[p] / (kCellArea / kQuadrants);
        }
        models.push_back(m);
    }
    return models;
}

// Light raised to the first ranking's power, read from a table.
struct RankingCurve {
    static constexpr int kSteps = 1024;
    float v[kSteps + 2];
    RankingCurve()
    {
        for (int i = 0; i <= kSteps + 1; ++i) v[i] = std::pow(std::min(i / float(kSteps), 1.0f), kRankingPower);
    }
    float operator()(float t) const
    {
        const float at = std::clamp(t, 0.0f, 1.0f) * kSteps;
        const int i = static_cast<int>(at);
        return v[i] + (at - i) * (v[i + 1] - v[i]);
    }
};
const RankingCurve kRankingCurve;

// Linear light's CIELAB curve, read from a table: the second stage converts
// many pixels.
struct LabCurveTable {
    static constexpr int kSteps = 4096;
    static constexpr float kTop = 1.1f;  // X / Xn and Z / Zn reach a little past 1
    float v[kSteps + 2];
    LabCurveTable()
    {
        for (int i = 0; i <= kSteps + 1; ++i) v[i] = LabCurve(i * kTop / kSteps);
    }
    float operator()(float t) const
    {
        const float at = std::clamp(t, 0.0f, kTop) * (kSteps / kTop);
        const int i = static_cast<int>(at);
        return v[i] + (at - i) * (v[i + 1] - v[i]);
    }
};
const LabCurveTable kLabCurve;

Lab FastLab(const float* c)
{
    const float x = (0.4124f * c[0] + 0.3576f * c[1] + 0.1805f * c[2]) / 0.95047f;
    const float y = 0.2126f * c[0] + 0.7152f * c[1] + 0.0722f * c[2];
    const float z = (0.0193f * c[0] + 0.1192f * c[1] + 0.9505f * c[2]) / 1.08883f;
    const float fx = kLabCurve(x), fy = kLabCurve(y), fz = kLabCurve(z);
    return {116.0f * fy - 16.0f, 500.0f * (fx - fy), 200.0f * (fy - fz)};
}

// The first ranking's metric in linear light: luminance, and each channel a
// little, so that a hue far off is never cheap.
struct Metric {
    float m[kChannels][kChannels];
    Metric()
    {
        for (int i = 0; i < kChannels; ++i)
            for (int j = 0; j < kChannels; ++j) m[i][j] = kLuminance[i] * kLuminance[j] + (i == j ? kLinearChroma : 0.0f);
    }
    float Form(const float* x, const float* y) const
    {
        float s = 0;
        for (int i = 0; i < kChannels; ++i)
            for (int j = 0; j < kChannels; ++j) s += x[i] * m[i][j] * y[j];
        return s;
    }
};
const Metric kMetric;

// Per pair (foreground f, background b), with d = f - b: d^T M b and d^T M d.
struct PairTerms {
    float db[kPairs], dd[kPairs];
    PairTerms()
    {
        for (int pair = 0; pair < kPairs; ++pair) {
            const Corner f = CornerOf(pair / kColours), b = CornerOf(pair % kColours);
            const float d[kChannels] = {f.c[0] - b.c[0], f.c[1] - b.c[1], f.c[2] - b.c[2]};
            db[pair] = kMetric.Form(d, b.c);
            dd[pair] = kMetric.Form(d, d);
        }
    }
};
const PairTerms kPairTerms;

struct Candidate {
    float error;
    int model;
    int pair;  // f * 8 + b
};

struct CellChoice {
    int model;
    int pair;
};

// A cell of the picture, blurred: in linear light, and raised to a power
// below one for the first ranking of character cells. The eye tells dark
// shades apart far better than linear light does, and shapes in the dark
// must not drown; a glyph's pixels are 0 or 1 in either, so a picture of
// cells still ranks the cells that drew it first.
struct Cell {
    float t[kChannels][kCellArea];
    float ranked[kChannels][kCellArea];
};

// One character cell, in two rankings. First every glyph with every pair,
// by how far its blurred rendering r = u f + (1 - u) b lies from the blurred
// picture t in linear light: with r - t = (b - t) + u d, the squared
// difference under M is a constant of b and the cell, plus
// 2 su d^T M b + uu d^T M d, less 2 d^T M (u . t): three dot products per
// glyph and a few operations per pair. Then the best few again as the eye
// sees them: each pixel's lightness in CIELAB, and each quadrant's mean
// colour by CIEDE2000, for the eye sees colour only over such areas.
CellChoice ChooseCell(const Cell& cell, const std::vector<GlyphModel>& models)
{
    const float(&t)[kChannels][kCellArea] = cell.t;
    const float(&tg)[kChannels][kCellArea] = cell.ranked;
    float sum[kChannels] = {};
    for (int k = 0; k < kChannels; ++k)
        for (int p = 0; p < kCellArea; ++p) sum[k] += tg[k][p];
    float base[kColours];  // the part of b alone
    for (int b = 0; b < kColours; ++b) {
        const Corner cb = CornerOf(b);
        base[b] = kCellArea * kMetric.Form(cb.c, cb.c) - 2 * kMetric.Form(cb.c, sum);
    }
    Candidate best[kShortList];
    for (Candidate& c : best) c = {1e30f, 0, 0};
    for (size_t i = 0; i < models.size(); ++i) {
        const GlyphModel& g = models[i];
        float ut[kChannels], mut[kChannels];
        for (int k = 0; k < kChannels; ++k) {
            // Eight running sums, which the compiler keeps in one vector.
            float lanes[kLanes] = {};
            for (int p = 0; p < kCellArea; p += kLanes)
                for (int j = 0; j < kLanes; ++j) lanes[j] += g.u[p + j] * tg[k][p + j];
            ut[k] = 0;
            for (float v : lanes) ut[k] += v;
        }
        for (int k = 0; k < kChannels; ++k)
            mut[k] = kMetric.m[k][0] * ut[0] + kMetric.m[k][1] * ut[1] + kMetric.m[k][2] * ut[2];
        float s[kColours];  // x^T M (u . t) for every colour x
        for (int x = 0; x < kColours; ++x) {
            const Corner c = CornerOf(x);
            s[x] = c.c[0] * mut[0] + c.c[1] * mut[1] + c.c[2] * mut[2];
        }
        float byB[kColours];
        for (int b = 0; b < kColours; ++b) byB[b] = base[b] + 2 * s[b];
        const float twoSu = 2 * g.su;
        float error[kPairs], least = 1e30f;
        for (int f = 0; f < kColours; ++f)
            for (int b = 0; b < kColours; ++b) {
                const int pair = f * kColours + b;
                error[pair] = byB[b] + twoSu * kPairTerms.db[pair] + g.uu * kPairTerms.dd[pair] - 2 * s[f];
                least = std::min(least, error[pair]);
            }
        Candidate& last = best[kShortList - 1];
        if (least >= last.error) continue;
        for (int pair = 0; pair < kPairs; ++pair) {
            if (error[pair] >= last.error) continue;
            int at = kShortList - 1;
            while (at > 0 && best[at - 1].error > error[pair]) {
                best[at] = best[at - 1];
                --at;
            }
            best[at] = {error[pair], static_cast<int>(i), pair};
        }
    }

    // The picture as the eye sees it: each pixel's lightness, each quadrant's colour.
    float lightness[kCellArea];
    Lab quarterWanted[kQuadrants];
    float quarters[kQuadrants][kChannels] = {};
    for (int p = 0; p < kCellArea; ++p) {
        const float c[kChannels] = {t[0][p], t[1][p], t[2][p]};
        lightness[p] = 116.0f * kLabCurve(kLuminance[0] * c[0] + kLuminance[1] * c[1] + kLuminance[2] * c[2]) - 16.0f;
        for (int k = 0; k < kChannels; ++k) quarters[QuadrantOf(p)][k] += c[k] / (kCellArea / kQuadrants);
    }
    for (int q = 0; q < kQuadrants; ++q) quarterWanted[q] = FastLab(quarters[q]);
    CellChoice choice = {best[0].model, best[0].pair};
    float least = 1e30f;
    for (int n = 0; n < kShortList && best[n].error < 1e30f; ++n) {
        const GlyphModel& g = models[best[n].model];
        const Corner f = CornerOf(best[n].pair / kColours), b = CornerOf(best[n].pair % kColours);
        float fy = 0, by = 0;
        for (int k = 0; k < kChannels; ++k) {
            fy += kLuminance[k] * f.c[k];
            by += kLuminance[k] * b.c[k];
        }
        float distance = 0;
        for (int p = 0; p < kCellArea; ++p) {
            const float l = 116.0f * kLabCurve(by + g.u[p] * (fy - by)) - 16.0f - lightness[p];
            distance += l * l;
        }
        for (int q = 0; q < kQuadrants; ++q) {
            float shown[kChannels];
            for (int k = 0; k < kChannels; ++k) shown[k] = b.c[k] + g.quarter[q] * (f.c[k] - b.c[k]);
            const Lab lab = FastLab(shown);
            const float e = float(Ciede2000(lab, quarterWanted[q]));
            distance += kQuadrantColour * (kCellArea / kQuadrants) * e * e;
        }
        if (!g.neutral) distance *= kShapePenalty;
        if (distance < least) {
            least = distance;
            choice = {best[n].model, best[n].pair};
        }
    }
    return choice;
}

// CIEDE2000 is never below its lightness term alone, |dL| / SL: the chroma
// and hue terms, with the blue region's rotation, add a sum that cannot be
// negative. The bound is taken a little low, to stay one after rounding.
float LightnessBound(const Lab& p, const Lab& q)
{
    const float mean = float(p.l + q.l) / 2 - 50, l50 = mean * mean;
    return 0.999f * std::fabs(float(q.l - p.l)) / (1 + 0.015f * l50 / std::sqrt(20 + l50));
}

// A semigraphic cell, exactly: each quadrant shows one of the pair's two
// colours over its 16 pixels, so each quadrant's difference from each colour
// (CIEDE2000 from the quadrant's mean colour) is a table of 4 x 8, and the
// best pair takes the nearer colour in each quadrant. The table starts as
// lower bounds; the best pair's entries are made exact until it stays best,
// which leaves out most of the far colours' differences.
CellChoice ChooseBlocks(const float mean[kQuadrants][kChannels], const float carried[kQuadrants][kChannels])
{
    static const struct Palette {
        Lab lab[kColours];
        Palette()
        {
            for (int x = 0; x < kColours; ++x) lab[x] = FastLab(CornerOf(x).c);
        }
    } palette;
    Lab lab[kQuadrants];
    float d[kQuadrants][kColours];
    float far[kQuadrants][kColours] = {};  // kFarOff where grain puts a colour out of reach
    bool exact[kQuadrants][kColours] = {};
    const auto difference = [&](int q, int x) {
        if (!exact[q][x]) {
            d[q][x] = float(Ciede2000(lab[q], palette.lab[x])) + far[q][x];
            exact[q][x] = true;
        }
        return d[q][x];
    };
    for (int q = 0; q < kQuadrants; ++q) {
        lab[q] = FastLab(mean[q]);
        for (int x = 0; x < kColours; ++x) d[q][x] = LightnessBound(lab[q], palette.lab[x]);
        if (!carried) continue;
        // Grain's carried colour decides only between colours nearly as good
        // as the best for the quadrant itself: a mid-grey stays one even
        // colour rather than turning into a speckle of far brighter and
        // darker blocks.
        float best = 1e30f;
        for (int x = 0; x < kColours; ++x)
            if (d[q][x] < best) best = std::min(best, difference(q, x));
        float shifted[kChannels];
        for (int k = 0; k < kChannels; ++k) shifted[k] = std::clamp(mean[q][k] + carried[q][k], 0.0f, 1.0f);
        const Lab wanted = FastLab(shifted);
        for (int x = 0; x < kColours; ++x) {
            if (d[q][x] <= best + kBlockGrainMargin && difference(q, x) <= best + kBlockGrainMargin) {
                d[q][x] = float(Ciede2000(wanted, palette.lab[x]));
            } else {
                far[q][x] = kFarOff;
                d[q][x] += kFarOff;  // a bound still, or exact when it was made so
            }
        }
    }
    for (;;) {
        // A pair and its reverse show the same (the pattern turned over), so
        // each pair is tried once, the lower colour in front.
        int front = 0, back = 0;
        float least = 1e30f;
        for (int f = 0; f < kColours; ++f)
            for (int b = f; b < kColours; ++b) {
                float error = 0;
                for (int q = 0; q < kQuadrants; ++q) error += std::min(d[q][f], d[q][b]);
                if (error < least) {
                    least = error;
                    front = f;
                    back = b;
                }
            }
        CellChoice choice = {0, front * kColours + back};
        for (int q = 0; q < kQuadrants; ++q)
            if (d[q][front] < d[q][back]) choice.model |= 1 << q;
        bool made = false;
        for (int q = 0; q < kQuadrants; ++q) {
            const int x = (choice.model >> q) & 1 ? front : back;
            if (!exact[q][x]) {
                difference(q, x);
                made = true;
            }
        }
        if (!made) return choice;
    }
}

// Ordered dithering scales each quadrant's light by a step of an 8 x 8
// Bayer matrix laid over the 80 x 50 quadrants. Scaling, not adding: a
// colour keeps its hue (a dark blue sky lights blue, never white), and
// black stays black.
float PatternScale(int column, int row, int q, float strength)
{
    constexpr int kMatrix[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                   {12, 44, 4, 36, 14, 46, 6, 38},  {60, 28, 52, 20, 62, 30, 54, 22},
                                   {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
                                   {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};
    const int x = 2 * column + q % 2, y = 2 * row + q / 2;
    return 1.0f + strength * ((kMatrix[y & 7][x & 7] + 0.5f) / 64.0f - 0.5f);
}

}  // namespace

void ConvertPicture(const uint32_t* pixels, int width, int height, const ConvertOptions& options,
                    ConvertedScreen& out)
{
    const bool blocks = options.mode == ConvertMode::Semigraphic;
    std::bitset<kGlyphNumbers> allowed = options.glyphs;
    if (allowed.none()) allowed.set(kSemigraphicBase);  // a blank block shows every colour pair
    // Blocks are chosen quadrant by quadrant (ChooseBlocks), without glyph models.
    const std::vector<GlyphModel> models = blocks ? std::vector<GlyphModel>() : GlyphModels(allowed);
    const Planes picture =
        Resample(pixels, width, height, options.fit, LinearTable(options.brightness, options.contrast));

    // Grain carries each cell's error on to the cells not yet done, row by
    // row in alternate directions, 7/16 ahead, 3/16 below behind, 5/16 below
    // and 1/16 below ahead.
    const bool grain = options.dither == ConvertDither::Grain;
    std::vector<float> carried(static_cast<size_t>(kCellCount) * kChannels, 0.0f);
    // Semigraphic grain carries each sub-block's error instead, over two
    // sub-blocks ahead and two rows down (the cell's own sub-blocks are
    // decided together, so the nearest ones are often taken).
    constexpr int kSubColumns = 2 * kScreenColumns, kSubRows = 2 * kScreenRows;
    std::vector<float> carriedSub(static_cast<size_t>(kSubColumns) * kSubRows * kChannels, 0.0f);
    std::vector<bool> decided(static_cast<size_t>(kSubColumns) * kSubRows, false);
    const auto spreadSub = [&](int sx, int sy, int ahead, const float* error) {
        // Jarvis, Judice and Ninke's weights, shared among the sub-blocks not yet decided.
        constexpr int kReach[12][3] = {{1, 0, 7}, {2, 0, 5}, {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5},
                                       {2, 1, 3}, {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5}, {1, 2, 3}, {2, 2, 1}};
        int total = 0;
        const auto open = [&](int x, int y) {
            return x >= 0 && x < kSubColumns && y < kSubRows && !decided[static_cast<size_t>(y) * kSubColumns + x];
        };
        for (const auto& r : kReach) total += open(sx + r[0] * ahead, sy + r[1]) ? r[2] : 0;
        if (total == 0) return;
        for (const auto& r : kReach) {
            const int x = sx + r[0] * ahead, y = sy + r[1];
            if (!open(x, y)) continue;
            for (int k = 0; k < kChannels; ++k)
                carriedSub[(static_cast<size_t>(y) * kSubColumns + x) * kChannels + k] += error[k] * r[2] / total;
        }
    };
    const auto give = [&](int x, int y, const float* error, float part) {
        if (x < 0 || x >= kScreenColumns || y >= kScreenRows) return;
        for (int k = 0; k < kChannels; ++k) carried[CellIndex(x, y) * kChannels + k] += error[k] * part;
    };
    for (int row = 0; row < kScreenRows; ++row)
        for (int step = 0; step < kScreenColumns; ++step) {
            const bool back = grain && (row & 1);
            const int column = back ? kScreenColumns - 1 - step : step;
            const bool pattern = options.dither == ConvertDither::Pattern;
            float scale[kQuadrants] = {1, 1, 1, 1};
            if (pattern)
                for (int q = 0; q < kQuadrants; ++q)
                    scale[q] = PatternScale(column, row, q, blocks ? kBlockPattern : kCharacterPattern);
            const int i = CellIndex(column, row);
            const int ahead = back ? -1 : 1;
            if (blocks) {
                // A block shows one colour over its whole quadrant, so blocks
                // are chosen by the quadrant's own mean, unblurred.
                float mean[kQuadrants][kChannels];
                float carriedBlock[kQuadrants][kChannels];
                for (int q = 0; q < kQuadrants; ++q) {
                    const int sx = 2 * column + q % 2, sy = 2 * row + q / 2;
                    for (int k = 0; k < kChannels; ++k) {
                        const float* corner = &picture.p[k][sy * 4 * kWidth + sx * 4];
                        float sum = 0;
                        for (int y = 0; y < 4; ++y)
                            for (int x = 0; x < 4; ++x) sum += std::min(corner[y * kWidth + x] * scale[q], 1.0f);
                        mean[q][k] = sum / (kCellArea / kQuadrants);
                        carriedBlock[q][k] = std::clamp(carriedSub[(static_cast<size_t>(sy) * kSubColumns + sx) * kChannels + k],
                                                        -kCarryLimit, kCarryLimit);
                    }
                }
                const CellChoice c = ChooseBlocks(mean, grain ? carriedBlock : nullptr);
                const int f = c.pair / kColours, b = c.pair % kColours;
                out.code[i] = kSemigraphicBase | c.model;
                out.attr[i] = f << 4 | b;
                if (!grain) continue;
                for (int q = 0; q < kQuadrants; ++q) decided[static_cast<size_t>(2 * row + q / 2) * kSubColumns + 2 * column + q % 2] = true;
                for (int q = 0; q < kQuadrants; ++q) {
                    const Corner shown = CornerOf((c.model >> q) & 1 ? f : b);
                    // Only the colour is carried, not the lightness: a block's
                    // lightness is seen sharply, its colour over a wider area,
                    // where neighbouring blocks mix it.
                    float e[kChannels], error[kChannels];
                    for (int k = 0; k < kChannels; ++k) e[k] = mean[q][k] - shown.c[k];
                    const float y = kLuminance[0] * e[0] + kLuminance[1] * e[1] + kLuminance[2] * e[2];
                    for (int k = 0; k < kChannels; ++k) error[k] = e[k] - y;
                    spreadSub(2 * column + q % 2, 2 * row + q / 2, ahead, error);
                }
                continue;
            }
            // The cell's picture, blurred, in linear light and raised to the
            // first ranking's power.
            Cell cell;
            for (int k = 0; k < kChannels; ++k) {
                float raw[kCellArea];
                const float* corner = &picture.p[k][row * kCellPixels * kWidth + column * kCellPixels];
                for (int y = 0; y < kCellPixels; ++y)
                    std::copy(corner + y * kWidth, corner + y * kWidth + kCellPixels, raw + y * kCellPixels);
                // The carried light is held to a small amount either way, so
                // that it shifts a cell's choice without ever lighting a dot
                // in a near-black field (or darkening one in white).
                const float add = std::clamp(carried[CellIndex(column, row) * kChannels + k], -kCarryLimit, kCarryLimit);
                for (int p = 0; p < kCellArea; ++p) raw[p] = std::clamp(raw[p] * scale[QuadrantOf(p)] + add, 0.0f, 1.0f);
                BlurCell(raw, cell.t[k]);
                for (float& v : raw) v = kRankingCurve(v);
                BlurCell(raw, cell.ranked[k]);
            }
            const float(&t)[kChannels][kCellArea] = cell.t;
            const CellChoice c = ChooseCell(cell, models);
            const int f = c.pair / kColours, b = c.pair % kColours;
            const int glyph = models[c.model].glyph;
            out.code[i] = glyph & 0xFF;
            out.attr[i] = (glyph >= 256 ? kAttrCharSet : 0) | f << 4 | b;
            if (!grain) continue;
            const int count = models[c.model].count;
            const Corner cf = CornerOf(f), cb = CornerOf(b);
            float error[kChannels];
            for (int k = 0; k < kChannels; ++k) {
                float wanted = 0;
                for (int p = 0; p < kCellArea; ++p) wanted += t[k][p];
                const float e = (wanted - (count * cf.c[k] + (kCellArea - count) * cb.c[k])) / kCellArea;
                error[k] = kCharacterGrain * std::copysign(std::max(std::fabs(e) - kCharacterForgiven, 0.0f), e);
            }
            give(column + ahead, row, error, 7 / 16.0f);
            give(column - ahead, row + 1, error, 3 / 16.0f);
            give(column, row + 1, error, 5 / 16.0f);
            give(column + ahead, row + 1, error, 1 / 16.0f);
        }
}
