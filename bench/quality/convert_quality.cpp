// How close a converted screen looks to its picture, for each mode and
// dithering, over real photos and artworks:
//   vexa_quality PICTURE...
// Each picture is converted with its centre cropped to fill the screen, the
// screen drawn at x1 (320 x 200) and the picture area-averaged to the same
// grid in linear light. Both are then seen through S-CIELAB (Zhang & Wandell):
// blurred per opponent channel as the eye blurs fine patterns at 20 samples
// per degree, then compared in CIELAB with CIEDE2000. A dithered screen the
// eye blends into the right colour scores well; a wrong colour does not.
// SSIM on the blurred L* tells whether the shapes survived, and the mean L*
// offset whether the screen came out lighter or darker as a whole.
// The metrics check themselves against published values first and stop the
// program when they are off.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "io/picture_file.h"
#include "render/colour_difference.h"
#include "render/font.h"
#include "render/picture_convert.h"
#include "render/pixels.h"
#include "render/view.h"
#include "screen/screen.h"
#include "tools/picture_read.h"

namespace {

constexpr int kWidth = kCanvasWidthAt1;    // the screen at x1: 40 cells of 8 pixels
constexpr int kHeight = kCanvasHeightAt1;  // 25 cells of 8 pixels

// Viewing: 320 pixels span 16 degrees, about a screen of the time seen from
// a sofa; the S-CIELAB kernels below are given in degrees.
constexpr double kSamplesPerDegree = 20.0;
// Each Gaussian reaches three standard deviations, as the continuous filters
// of the paper do in effect (the authors' code cuts all at one degree, which
// turns the wide luminance lobe into a local contrast boost).
constexpr double kKernelReach = 3.0;

// SSIM as Wang et al. publish it: an 11 x 11 Gaussian window of sigma 1.5 and
// the constants K1 = 0.01, K2 = 0.03 of the dynamic range, here L*'s 0-100.
constexpr int kSsimRadius = 5;
constexpr double kSsimSigma = 1.5;
constexpr double kLRange = 100.0;
constexpr double kSsimC1 = (0.01 * kLRange) * (0.01 * kLRange);
constexpr double kSsimC2 = (0.03 * kLRange) * (0.03 * kLRange);

// The conversion is timed on a picture of the size the editor's preview and
// vexa-cli's benchmark use, best of several runs to leave out the noise of a
// shared machine.
constexpr int kTimingWidth = 640, kTimingHeight = 400;
constexpr int kTimingRuns = 20;

// ---------------------------------------------------------------------------
// Colour

struct Plane {
    int width = 0, height = 0;
    std::vector<double> v;
    Plane() = default;
    Plane(int w, int h) : width(w), height(h), v(static_cast<size_t>(w) * h, 0.0) {}
    double& at(int x, int y) { return v[static_cast<size_t>(y) * width + x]; }
    double at(int x, int y) const { return v[static_cast<size_t>(y) * width + x]; }
};

// Three planes: linear R, G, B (0-1); or opponent channels; or L*, a*, b*.
struct Image {
    Plane c[3];
    Image() = default;
    Image(int w, int h) : c{Plane(w, h), Plane(w, h), Plane(w, h)} {}
    int width() const { return c[0].width; }
    int height() const { return c[0].height; }
};

double SrgbToLinear(double c)
{
    c /= 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int LinearToSrgb(double v)
{
    v = std::clamp(v, 0.0, 1.0);
    const double c = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
    return static_cast<int>(std::lround(c * 255.0));
}

const double* LinearTable()
{
    static const std::vector<double> table = [] {
        std::vector<double> t(256);
        for (int i = 0; i < 256; ++i) t[i] = SrgbToLinear(i);
        return t;
    }();
    return table.data();
}

using Matrix = double[3][3];

// Linear sRGB (D65) to XYZ, Y of white 1.
constexpr Matrix kRgbToXyz = {{0.4124, 0.3576, 0.1805}, {0.2126, 0.7152, 0.0722}, {0.0193, 0.1192, 0.9505}};
// XYZ to the opponent channels of Zhang & Wandell: luminance, red-green,
// blue-yellow (the 2-degree matrix of their distribution).
constexpr Matrix kXyzToOpponent = {
    {0.2787336, 0.7218031, -0.1065520}, {-0.4487736, 0.2898056, -0.0771569}, {0.0859513, -0.5899859, 0.5011089}};

void Multiply(const Matrix& m, const double in[3], double out[3])
{
    for (int r = 0; r < 3; ++r) out[r] = m[r][0] * in[0] + m[r][1] * in[1] + m[r][2] * in[2];
}

void Invert(const Matrix& m, Matrix& out)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            // Cofactor of (c, r), the transpose taken by the indices.
            const int r0 = (c + 1) % 3, r1 = (c + 2) % 3, c0 = (r + 1) % 3, c1 = (r + 2) % 3;
            out[r][c] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
        }
}

struct Colour {
    Matrix opponentToXyz;
    double white[3];  // XYZ of linear RGB (1, 1, 1): D65 as sRGB has it
    Colour()
    {
        Invert(kXyzToOpponent, opponentToXyz);
        const double one[3] = {1, 1, 1};
        Multiply(kRgbToXyz, one, white);
    }
};
const Colour& TheColour()
{
    static const Colour colour;
    return colour;
}

double LabCurve(double t)
{
    constexpr double kDelta = 6.0 / 29.0;
    return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3 * kDelta * kDelta) + 4.0 / 29.0;
}

Lab XyzToLab(const double xyz[3])
{
    const double* w = TheColour().white;
    const double fx = LabCurve(xyz[0] / w[0]), fy = LabCurve(xyz[1] / w[1]), fz = LabCurve(xyz[2] / w[2]);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

Lab LinearToLab(const double rgb[3])
{
    double xyz[3];
    Multiply(kRgbToXyz, rgb, xyz);
    return XyzToLab(xyz);
}


// ---------------------------------------------------------------------------
// Blurring

// One Gaussian exp(-x^2 / s^2) of a channel's kernel: its share of the
// kernel and its spread in degrees.
struct Gaussian {
    double weight, spread;
};
struct ChannelKernel {
    Gaussian part[3];
    int parts;
};
// Zhang & Wandell's fit as their S-CIELAB code now gives it (the 1997
// revision of the 1996 paper's): luminance, red-green, blue-yellow. The
// weights are normalised to sum 1 where the kernels are made.
constexpr ChannelKernel kScielabKernels[3] = {
    {{{1.00327, 0.05}, {0.114416, 0.225}, {-0.117686, 7.0}}, 3},
    {{{0.616725, 0.0685}, {0.383275, 0.826}, {0, 0}}, 2},
    {{{0.567885, 0.0920}, {0.432115, 0.6451}, {0, 0}}, 2},
};

using Kernel = std::vector<double>;  // 2 r + 1 taps, centre at r

// A sampled Gaussian, summing to 1; `scale` is s in exp(-x^2 / s^2), or the
// standard deviation when `sigma` says so.
Kernel SampledGaussian(int radius, double scale, bool sigma)
{
    Kernel k(2 * radius + 1);
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        const double x = i / scale;
        sum += k[i + radius] = std::exp(sigma ? -x * x / 2 : -x * x);
    }
    for (double& v : k) v /= sum;
    return k;
}

// Mirrors an index that falls off either edge back into 0..n-1, however far.
int Mirror(int i, int n)
{
    i %= 2 * n;
    if (i < 0) i += 2 * n;
    return i < n ? i : 2 * n - 1 - i;
}

// The plane convolved with k along rows, then along columns; the edges mirror.
Plane Separable(const Plane& in, const Kernel& k)
{
    const int r = static_cast<int>(k.size() / 2), w = in.width, h = in.height;
    Plane rows(w, h), out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double s = 0;
            for (int i = -r; i <= r; ++i) s += k[i + r] * in.at(Mirror(x + i, w), y);
            rows.at(x, y) = s;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double s = 0;
            for (int i = -r; i <= r; ++i) s += k[i + r] * rows.at(x, Mirror(y + i, h));
            out.at(x, y) = s;
        }
    return out;
}

// A channel blurred by its S-CIELAB kernel: the weighted sum of its
// Gaussians, each separable and summing to 1, the weights summing to 1, so
// that a flat field stays as it is. Gaussians reaching further than `reach`
// pixels are left out (their weight still counts in the sum).
Plane ScielabBlur(const Plane& in, const ChannelKernel& kernel, int reach = std::numeric_limits<int>::max())
{
    double total = 0;
    for (int g = 0; g < kernel.parts; ++g) total += kernel.part[g].weight;
    Plane out(in.width, in.height);
    for (int g = 0; g < kernel.parts; ++g) {
        const Gaussian& part = kernel.part[g];
        const double scale = part.spread * kSamplesPerDegree;  // s of exp(-x^2 / s^2): sigma s / sqrt 2
        const int radius = static_cast<int>(std::ceil(kKernelReach * scale / std::sqrt(2.0)));
        if (radius > reach) continue;
        const Plane blurred = Separable(in, SampledGaussian(radius, scale, false));
        for (size_t i = 0; i < out.v.size(); ++i) out.v[i] += part.weight / total * blurred.v[i];
    }
    return out;
}

// Linear RGB in the opponent channels, each blurred by its kernel.
Image BlurredOpponent(const Image& rgb)
{
    const int w = rgb.width(), h = rgb.height();
    Image opponent(w, h);
    for (size_t i = 0; i < opponent.c[0].v.size(); ++i) {
        const double in[3] = {rgb.c[0].v[i], rgb.c[1].v[i], rgb.c[2].v[i]};
        double xyz[3], opp[3];
        Multiply(kRgbToXyz, in, xyz);
        Multiply(kXyzToOpponent, xyz, opp);
        for (int c = 0; c < 3; ++c) opponent.c[c].v[i] = opp[c];
    }
    for (int c = 0; c < 3; ++c) opponent.c[c] = ScielabBlur(opponent.c[c], kScielabKernels[c]);
    return opponent;
}

Lab OpponentToLab(const double opp[3])
{
    double xyz[3];
    Multiply(TheColour().opponentToXyz, opp, xyz);
    // The blur's negative lobe can take a dark pixel beside a light one
    // below no light at all; it is seen as black.
    for (double& v : xyz) v = std::max(v, 0.0);
    return XyzToLab(xyz);
}

// Linear RGB as the eye sees it from the viewing distance, in CIELAB.
Image SpatialLab(const Image& rgb)
{
    const Image opponent = BlurredOpponent(rgb);
    Image lab(rgb.width(), rgb.height());
    for (size_t i = 0; i < lab.c[0].v.size(); ++i) {
        const double opp[3] = {opponent.c[0].v[i], opponent.c[1].v[i], opponent.c[2].v[i]};
        const Lab l = OpponentToLab(opp);
        lab.c[0].v[i] = l.l;
        lab.c[1].v[i] = l.a;
        lab.c[2].v[i] = l.b;
    }
    return lab;
}

// ---------------------------------------------------------------------------
// Scores

double MeanCiede2000(const Image& p, const Image& q)
{
    double sum = 0;
    const size_t n = p.c[0].v.size();
    for (size_t i = 0; i < n; ++i)
        sum += Ciede2000({p.c[0].v[i], p.c[1].v[i], p.c[2].v[i]}, {q.c[0].v[i], q.c[1].v[i], q.c[2].v[i]});
    return sum / n;
}

// Mean SSIM over the window positions that lie wholly inside the plane.
double Ssim(const Plane& x, const Plane& y)
{
    const Kernel k = SampledGaussian(kSsimRadius, kSsimSigma, true);
    const int w = x.width, h = x.height;
    Plane xx(w, h), yy(w, h), xy(w, h);
    for (size_t i = 0; i < x.v.size(); ++i) {
        xx.v[i] = x.v[i] * x.v[i];
        yy.v[i] = y.v[i] * y.v[i];
        xy.v[i] = x.v[i] * y.v[i];
    }
    const Plane mx = Separable(x, k), my = Separable(y, k), mxx = Separable(xx, k), myy = Separable(yy, k),
                mxy = Separable(xy, k);
    double sum = 0;
    int count = 0;
    for (int j = kSsimRadius; j < h - kSsimRadius; ++j)
        for (int i = kSsimRadius; i < w - kSsimRadius; ++i) {
            const double ux = mx.at(i, j), uy = my.at(i, j);
            const double vx = mxx.at(i, j) - ux * ux, vy = myy.at(i, j) - uy * uy, cxy = mxy.at(i, j) - ux * uy;
            sum += (2 * ux * uy + kSsimC1) * (2 * cxy + kSsimC2) /
                   ((ux * ux + uy * uy + kSsimC1) * (vx + vy + kSsimC2));
            ++count;
        }
    return sum / count;
}

double MeanOffset(const Plane& picture, const Plane& screen)
{
    double sum = 0;
    for (size_t i = 0; i < picture.v.size(); ++i) sum += screen.v[i] - picture.v[i];
    return sum / picture.v.size();
}

struct Score {
    double deltaE, ssim, lOffset;
};

Score Compare(const Image& pictureLab, const Image& screenLab)
{
    return {MeanCiede2000(pictureLab, screenLab), Ssim(pictureLab.c[0], screenLab.c[0]),
            MeanOffset(pictureLab.c[0], screenLab.c[0])};
}

// ---------------------------------------------------------------------------
// Pictures and screens

// Which source pixels, and how much of each, make up one output sample.
struct Tap {
    int index;
    double weight;
};
using Taps = std::vector<std::vector<Tap>>;

// Output samples 0..n-1 over the source span [from, from + span): each the
// area average of the source pixels it covers.
Taps AreaTaps(int n, double from, double span, int sourceSize)
{
    Taps taps(n);
    const double step = span / n;
    for (int o = 0; o < n; ++o) {
        const double a = from + o * step, b = a + step;
        for (int s = std::max(0, static_cast<int>(std::floor(a))); s < sourceSize && s < b; ++s) {
            const double cover = std::min(b, s + 1.0) - std::max(a, double(s));
            if (cover > 0) taps[o].push_back({s, cover / step});
        }
    }
    return taps;
}

// The picture's centre cut to w:h and averaged down to w x h in linear
// light, as the converter's crop places it.
Image Resample(const Picture& picture, int w, int h)
{
    const double scale = std::max(double(w) / picture.width, double(h) / picture.height);
    const double sw = w / scale, sh = h / scale;
    const Taps columns = AreaTaps(w, (picture.width - sw) / 2, sw, picture.width);
    const Taps rows = AreaTaps(h, (picture.height - sh) / 2, sh, picture.height);
    const double* linear = LinearTable();
    Image out(w, h);
    std::vector<double> line(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int c = 0; c < 3; ++c)
            for (int x = 0; x < w; ++x) out.c[c].at(x, y) = 0;
        for (const Tap& row : rows[y]) {
            const uint32_t* src = picture.pixels.data() + static_cast<size_t>(row.index) * picture.width;
            for (int x = 0; x < w; ++x) {
                double r = 0, g = 0, b = 0;
                for (const Tap& col : columns[x]) {
                    const uint32_t p = src[col.index];
                    r += col.weight * linear[(p >> 16) & 0xFF];
                    g += col.weight * linear[(p >> 8) & 0xFF];
                    b += col.weight * linear[p & 0xFF];
                }
                out.c[0].at(x, y) += row.weight * r;
                out.c[1].at(x, y) += row.weight * g;
                out.c[2].at(x, y) += row.weight * b;
            }
        }
    }
    return out;
}

// The screen as the editor draws it at x1, in linear light.
Image DrawScreen(const ConvertedScreen& screen)
{
    std::vector<uint32_t> buffer(static_cast<size_t>(kWidth) * kHeight);
    const PixelView view = {buffer.data(), kWidth, kHeight};
    for (int row = 0; row < kScreenRows; ++row)
        for (int column = 0; column < kScreenColumns; ++column) {
            const int cell = row * kScreenColumns + column;
            DrawPlainGlyph(view, column * kCellPixels, row * kCellPixels, screen.code[cell], screen.attr[cell], 1);
        }
    const double* linear = LinearTable();
    Image out(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t p = *PixelAt(view, x, y);
            out.c[0].at(x, y) = linear[(p >> 16) & 0xFF];
            out.c[1].at(x, y) = linear[(p >> 8) & 0xFF];
            out.c[2].at(x, y) = linear[p & 0xFF];
        }
    return out;
}

// The eight colours: linear RGB, each channel fully on or off, and the same
// in CIELAB and in the opponent channels.
struct Palette {
    double rgb[8][3];
    Lab lab[8];
    double opponent[8][3];
    Palette()
    {
        for (int x = 0; x < 8; ++x) {
            rgb[x][0] = (x >> 1) & 1;
            rgb[x][1] = (x >> 2) & 1;
            rgb[x][2] = x & 1;
            lab[x] = LinearToLab(rgb[x]);
            double xyz[3];
            Multiply(kRgbToXyz, rgb[x], xyz);
            Multiply(kXyzToOpponent, xyz, opponent[x]);
        }
    }
    int Nearest(const Lab& colour) const
    {
        int best = 0;
        for (int x = 1; x < 8; ++x)
            if (Ciede2000(colour, lab[x]) < Ciede2000(colour, lab[best])) best = x;
        return best;
    }
};
const Palette& ThePalette()
{
    static const Palette palette;
    return palette;
}

// What the eight colours allow at all: every pixel free to take any of them
// (no cell, no pair), the nearest by CIEDE2000, with Floyd and Steinberg's
// error diffusion in linear light. No screen can show this; it tells how far
// a score is from what the palette itself permits.
Image FreePixelDither(const Image& picture)
{
    const Palette& palette = ThePalette();
    const int w = picture.width(), h = picture.height();
    Image wanted = picture, out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double v[3];
            for (int c = 0; c < 3; ++c) v[c] = std::clamp(wanted.c[c].at(x, y), 0.0, 1.0);
            const double* shown = palette.rgb[palette.Nearest(LinearToLab(v))];
            for (int c = 0; c < 3; ++c) {
                out.c[c].at(x, y) = shown[c];
                const double e = wanted.c[c].at(x, y) - shown[c];
                const auto give = [&](int dx, int dy, double part) {
                    if (x + dx >= 0 && x + dx < w && y + dy < h) wanted.c[c].at(x + dx, y + dy) += e * part;
                };
                give(1, 0, 7 / 16.0);
                give(-1, 1, 3 / 16.0);
                give(0, 1, 5 / 16.0);
                give(1, 1, 1 / 16.0);
            }
        }
    return out;
}

// What blocks could reach at best: every 4 x 4 block free to take any of the
// eight colours (every semigraphic screen is such a picture, and many more
// are), chosen by greedy descent on this very score. It starts from each
// block's nearest colour by CIEDE2000 and visits the blocks in turn, giving
// each the colour that lowers the score most over the pixels it reaches
// (the wide luminance lobe, which reaches everywhere, is left out there and
// counted again after each sweep). A few minutes a picture.
constexpr int kBlock = 4, kSearchSweeps = 4;
Image FreeBlockSearch(const Image& picture, const Image& pictureLab)
{
    const int w = picture.width(), h = picture.height(), columns = w / kBlock, rows = h / kBlock;
    const Palette& palette = ThePalette();
    const auto& opponent = palette.opponent;
    const auto draw = [&](const std::vector<int>& colour) {
        Image out(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double* rgb = palette.rgb[colour[(y / kBlock) * columns + x / kBlock]];
                for (int c = 0; c < 3; ++c) out.c[c].at(x, y) = rgb[c];
            }
        return out;
    };
    // Each channel's blur of one block, without the parts wider than the reach.
    constexpr int kReach = 36;
    constexpr int kSpan = kBlock + 2 * kReach;
    Plane footprint[3];
    for (int c = 0; c < 3; ++c) {
        Plane box(kSpan, kSpan);
        for (int y = 0; y < kBlock; ++y)
            for (int x = 0; x < kBlock; ++x) box.at(kReach + x, kReach + y) = 1;
        footprint[c] = ScielabBlur(box, kScielabKernels[c], kReach);
    }

    std::vector<int> colour(static_cast<size_t>(columns) * rows);
    for (int by = 0; by < rows; ++by)
        for (int bx = 0; bx < columns; ++bx) {
            double mean[3] = {};
            for (int c = 0; c < 3; ++c)
                for (int y = 0; y < kBlock; ++y)
                    for (int x = 0; x < kBlock; ++x) mean[c] += picture.c[c].at(bx * kBlock + x, by * kBlock + y) / (kBlock * kBlock);
            colour[by * columns + bx] = palette.Nearest(LinearToLab(mean));
        }
    std::vector<int> kept = colour;
    double keptScore = 1e300;
    for (int sweep = 0; sweep <= kSearchSweeps; ++sweep) {
        Image seen = BlurredOpponent(draw(colour));
        double score = 0;
        for (size_t i = 0; i < seen.c[0].v.size(); ++i) {
            const double opp[3] = {seen.c[0].v[i], seen.c[1].v[i], seen.c[2].v[i]};
            score += Ciede2000(OpponentToLab(opp), {pictureLab.c[0].v[i], pictureLab.c[1].v[i], pictureLab.c[2].v[i]});
        }
        if (score >= keptScore) break;
        kept = colour;
        keptScore = score;
        if (sweep == kSearchSweeps) break;
        for (int by = 0; by < rows; ++by)
            for (int bx = 0; bx < columns; ++bx) {
                int& now = colour[by * columns + bx];
                const int left = bx * kBlock - kReach, top = by * kBlock - kReach;
                double cost[8] = {};
                for (int y = std::max(0, top); y < std::min(h, top + kSpan); ++y)
                    for (int x = std::max(0, left); x < std::min(w, left + kSpan); ++x) {
                        const Lab want = {pictureLab.c[0].at(x, y), pictureLab.c[1].at(x, y), pictureLab.c[2].at(x, y)};
                        for (int k = 0; k < 8; ++k) {
                            double opp[3];
                            for (int c = 0; c < 3; ++c)
                                opp[c] = seen.c[c].at(x, y) + (opponent[k][c] - opponent[now][c]) * footprint[c].at(x - left, y - top);
                            cost[k] += Ciede2000(OpponentToLab(opp), want);
                        }
                    }
                const int best = static_cast<int>(std::min_element(cost, cost + 8) - cost);
                if (best == now || cost[best] >= cost[now]) continue;
                for (int y = std::max(0, top); y < std::min(h, top + kSpan); ++y)
                    for (int x = std::max(0, left); x < std::min(w, left + kSpan); ++x)
                        for (int c = 0; c < 3; ++c)
                            seen.c[c].at(x, y) += (opponent[best][c] - opponent[now][c]) * footprint[c].at(x - left, y - top);
                now = best;
            }
    }
    return draw(kept);
}

// A linear image back to 8-bit sRGB pixels, as a picture file holds them.
std::vector<uint32_t> ToPixels(const Image& image)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(image.width()) * image.height());
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = Rgb(LinearToSrgb(image.c[0].v[i]), LinearToSrgb(image.c[1].v[i]), LinearToSrgb(image.c[2].v[i]));
    return pixels;
}

struct Setting {
    ConvertMode mode;
    ConvertDither dither;
    const char* modeName;
    const char* ditherName;
};
constexpr Setting kSettings[] = {
    {ConvertMode::Semigraphic, ConvertDither::None, "semigraphic", "none"},
    {ConvertMode::Semigraphic, ConvertDither::Pattern, "semigraphic", "pattern"},
    {ConvertMode::Semigraphic, ConvertDither::Grain, "semigraphic", "grain"},
    {ConvertMode::Characters, ConvertDither::None, "characters", "none"},
    {ConvertMode::Characters, ConvertDither::Pattern, "characters", "pattern"},
    {ConvertMode::Characters, ConvertDither::Grain, "characters", "grain"},
};
constexpr int kSettingCount = sizeof(kSettings) / sizeof(kSettings[0]);

ConvertOptions OptionsFor(const Setting& s)
{
    ConvertOptions options;
    options.mode = s.mode;
    options.fit = ConvertFit::Crop;  // the screen filled, no black bands to score
    options.dither = s.dither;
    return options;
}

// ---------------------------------------------------------------------------
// Self-check

// What floating point leaves of an exact 0 or 1 over a 320 x 200 image.
constexpr double kExactTolerance = 1e-9;

bool Check(bool ok, const char* what, double got, double want)
{
    if (!ok) std::fprintf(stderr, "vexa_quality: self-check failed: %s: got %.6f, want %.6f\n", what, got, want);
    return ok;
}

// A picture with edges, gradients and saturated colours, in linear light.
Image CheckPicture()
{
    Image image(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            image.c[0].at(x, y) = double(x) / (kWidth - 1);
            image.c[1].at(x, y) = ((x / 8 + y / 8) & 1) ? 0.8 : 0.05;
            image.c[2].at(x, y) = 0.5 + 0.5 * std::sin(x * 0.3) * std::cos(y * 0.2);
        }
    return image;
}

Image Flat(double r, double g, double b)
{
    Image image(kWidth, kHeight);
    for (size_t i = 0; i < image.c[0].v.size(); ++i) {
        image.c[0].v[i] = r;
        image.c[1].v[i] = g;
        image.c[2].v[i] = b;
    }
    return image;
}

bool SelfCheck()
{
    bool ok = true;
    const double white[3] = {1, 1, 1};
    const Lab whiteLab = LinearToLab(white);
    ok &= Check(std::fabs(whiteLab.l - 100) <= kExactTolerance && std::hypot(whiteLab.a, whiteLab.b) <= kExactTolerance,
                "L* of white", whiteLab.l, 100);

    // A picture against itself: nothing to see.
    const Image picture = SpatialLab(CheckPicture());
    const Score same = Compare(picture, picture);
    ok &= Check(std::fabs(same.deltaE) <= kExactTolerance, "S-CIELAB of a picture against itself", same.deltaE, 0);
    ok &= Check(std::fabs(same.ssim - 1) <= kExactTolerance, "SSIM of a picture against itself", same.ssim, 1);

    // Flat fields: the kernels sum to 1, so blurring changes nothing and
    // S-CIELAB is plain CIEDE2000; SSIM is its luminance term alone.
    const double p[3] = {0.2, 0.4, 0.1}, q[3] = {0.6, 0.1, 0.5};
    const Lab pLab = LinearToLab(p), qLab = LinearToLab(q);
    const Score flat = Compare(SpatialLab(Flat(p[0], p[1], p[2])), SpatialLab(Flat(q[0], q[1], q[2])));
    const double flatDeltaE = Ciede2000(pLab, qLab);
    ok &= Check(std::fabs(flat.deltaE - flatDeltaE) <= kExactTolerance, "S-CIELAB of two flat fields", flat.deltaE,
                flatDeltaE);
    const double flatSsim = (2 * pLab.l * qLab.l + kSsimC1) / (pLab.l * pLab.l + qLab.l * qLab.l + kSsimC1);
    ok &= Check(std::fabs(flat.ssim - flatSsim) <= kExactTolerance, "SSIM of two flat fields", flat.ssim, flatSsim);
    ok &= Check(std::fabs(flat.lOffset - (qLab.l - pLab.l)) <= kExactTolerance, "L* offset of two flat fields",
                flat.lOffset, qLab.l - pLab.l);

    // A fine pattern the eye blends: a 1-pixel checkerboard of two colours
    // sits much closer to their linear mean than the colours to each other.
    Image checker(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c) checker.c[c].at(x, y) = ((x + y) & 1) ? p[c] : q[c];
    const Score blend =
        Compare(SpatialLab(Flat((p[0] + q[0]) / 2, (p[1] + q[1]) / 2, (p[2] + q[2]) / 2)), SpatialLab(checker));
    ok &= Check(blend.deltaE < flatDeltaE / 4, "S-CIELAB of a checkerboard against its mean", blend.deltaE,
                flatDeltaE / 4);
    return ok;
}

// ---------------------------------------------------------------------------

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

double ConversionMilliseconds(const std::vector<uint32_t>& pixels, const Setting& setting)
{
    const ConvertOptions options = OptionsFor(setting);
    ConvertedScreen out;
    double best = 1e300;
    for (int run = 0; run < kTimingRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        ConvertPicture(pixels.data(), kTimingWidth, kTimingHeight, options, out);
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    // --search adds the row of free blocks searched for (minutes a picture).
    const bool search = argc > 1 && std::string(argv[1]) == "--search";
    if (argc < 2 + search) {
        std::fprintf(stderr, "usage: vexa_quality [--search] PICTURE...  (bench/quality/pictures.sh lists some)\n");
        return 2;
    }
    if (!SelfCheck()) return 1;
    std::printf("self-check: S-CIELAB and SSIM on known images: passed\n\n");
    if (!LoadFont(VEXA_FONT_FILE)) {
        std::fprintf(stderr, "vexa_quality: cannot read the font %s\n", VEXA_FONT_FILE);
        return 1;
    }

    std::vector<std::string> paths(argv + 1 + search, argv + argc);
    // One row per setting, then what the palette permits: free pixels, and
    // when asked free blocks.
    const int rows = kSettingCount + 1 + search;
    constexpr int kMostRows = kSettingCount + 2;
    Score sum[kMostRows] = {};
    double absOffset[kMostRows] = {};
    const auto rowName = [](int row, bool mode) {
        if (row == kSettingCount) return mode ? "free pixels" : "diffused";
        if (row == kSettingCount + 1) return mode ? "free blocks" : "searched";
        return mode ? kSettings[row].modeName : kSettings[row].ditherName;
    };
    std::vector<uint32_t> timingPicture;
    std::string timingName;

    std::printf("%-22s %-12s %-8s %8s %7s %8s\n", "picture", "mode", "dither", "dE00", "SSIM", "dL*");
    for (const std::string& path : paths) {
        Picture picture;
        std::string why;
        if (ReadPicture(path, kPictureFileLimit, picture, why) != PictureRead::Read) {
            std::fprintf(stderr, "vexa_quality: %s: %s\n", path.c_str(), why.empty() ? "cannot read" : why.c_str());
            return 1;
        }
        if (timingPicture.empty()) {
            timingPicture = ToPixels(Resample(picture, kTimingWidth, kTimingHeight));
            timingName = BaseName(path);
        }
        const Image pictureLab = SpatialLab(Resample(picture, kWidth, kHeight));
        for (int row = 0; row < rows; ++row) {
            Image shown;
            if (row < kSettingCount) {
                ConvertedScreen screen;
                ConvertPicture(picture.pixels.data(), picture.width, picture.height, OptionsFor(kSettings[row]), screen);
                shown = DrawScreen(screen);
            } else if (row == kSettingCount) {
                shown = FreePixelDither(Resample(picture, kWidth, kHeight));
            } else {
                shown = FreeBlockSearch(Resample(picture, kWidth, kHeight), pictureLab);
            }
            const Score score = Compare(pictureLab, SpatialLab(shown));
            std::printf("%-22s %-12s %-8s %8.3f %7.4f %+8.3f\n", BaseName(path).c_str(), rowName(row, true),
                        rowName(row, false), score.deltaE, score.ssim, score.lOffset);
            sum[row].deltaE += score.deltaE;
            sum[row].ssim += score.ssim;
            sum[row].lOffset += score.lOffset;
            absOffset[row] += std::fabs(score.lOffset);
        }
    }

    const double n = static_cast<double>(paths.size());
    std::printf("\nmean over %zu pictures\n", paths.size());
    std::printf("%-12s %-8s %8s %7s %8s %8s\n", "mode", "dither", "dE00", "SSIM", "dL*", "|dL*|");
    for (int row = 0; row < rows; ++row)
        std::printf("%-12s %-8s %8.3f %7.4f %+8.3f %8.3f\n", rowName(row, true), rowName(row, false),
                    sum[row].deltaE / n, sum[row].ssim / n, sum[row].lOffset / n, absOffset[row] / n);

    std::printf("\nconversion of a %d x %d picture (%s), one thread, best of %d runs\n", kTimingWidth,
                kTimingHeight, timingName.c_str(), kTimingRuns);
    std::printf("%-12s %-8s %10s\n", "mode", "dither", "ms");
    for (int s = 0; s < kSettingCount; ++s)
        std::printf("%-12s %-8s %10.2f\n", kSettings[s].modeName, kSettings[s].ditherName,
                    ConversionMilliseconds(timingPicture, kSettings[s]));
    return 0;
}
