// CIEDE2000 against the published test data of Sharma, Wu and Dalal.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "render/colour_difference.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
double Degrees(double radians) { return radians * 180.0 / kPi; }
double Radians(double degrees) { return degrees * kPi / 180.0; }

// The formula as the paper writes it, angle by angle: the reference the
// quicker form above is held to.
double TextbookCiede2000(const Lab& p, const Lab& q)
{
    const double pow25to7 = 6103515625.0;  // 25^7
    const double c1 = std::sqrt(p.a * p.a + p.b * p.b), c2 = std::sqrt(q.a * q.a + q.b * q.b);
    const double cMean7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + pow25to7)));
    const double a1 = (1 + g) * p.a, a2 = (1 + g) * q.a;
    const double cp1 = std::sqrt(a1 * a1 + p.b * p.b), cp2 = std::sqrt(a2 * a2 + q.b * q.b);
    const auto hue = [](double b, double a) {
        if (a == 0 && b == 0) return 0.0;
        const double h = Degrees(std::atan2(b, a));
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(p.b, a1), h2 = hue(q.b, a2);

    const double dL = q.l - p.l, dC = cp2 - cp1;
    double dh = 0;
    if (cp1 * cp2 != 0) {
        dh = h2 - h1;
        if (dh > 180) dh -= 360;
        else if (dh < -180) dh += 360;
    }
    const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(Radians(dh / 2));

    const double lMean = (p.l + q.l) / 2, cpMean = (cp1 + cp2) / 2;
    double hMean = h1 + h2;
    if (cp1 * cp2 != 0) {
        if (std::fabs(h1 - h2) <= 180) hMean = (h1 + h2) / 2;
        else if (h1 + h2 < 360) hMean = (h1 + h2 + 360) / 2;
        else hMean = (h1 + h2 - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos(Radians(hMean - 30)) + 0.24 * std::cos(Radians(2 * hMean)) +
                     0.32 * std::cos(Radians(3 * hMean + 6)) - 0.20 * std::cos(Radians(4 * hMean - 63));
    const double dTheta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double cpMean7 = std::pow(cpMean, 7);
    const double rC = 2 * std::sqrt(cpMean7 / (cpMean7 + pow25to7));
    const double l50 = (lMean - 50) * (lMean - 50);
    const double sL = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sC = 1 + 0.045 * cpMean;
    const double sH = 1 + 0.015 * cpMean * t;
    const double rT = -std::sin(Radians(2 * dTheta)) * rC;
    const double l = dL / sL, c = dC / sC, h = dH / sH;
    return std::sqrt(l * l + c * c + h * h + rT * c * h);
}


// Sharma, Wu and Dalal's test pairs (Table 1 of their CIEDE2000 paper):
// L*a*b* of each sample and the difference to four decimals.
struct TestPair {
    Lab p, q;
    double deltaE;
};
constexpr TestPair kSharmaPairs[] = {
    {{50.0000, 2.6772, -79.7751}, {50.0000, 0.0000, -82.7485}, 2.0425},
    {{50.0000, 3.1571, -77.2803}, {50.0000, 0.0000, -82.7485}, 2.8615},
    {{50.0000, 2.8361, -74.0200}, {50.0000, 0.0000, -82.7485}, 3.4412},
    {{50.0000, -1.3802, -84.2814}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -1.1848, -84.8006}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -0.9009, -85.5211}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, 0.0000, 0.0000}, {50.0000, -1.0000, 2.0000}, 2.3669},
    {{50.0000, -1.0000, 2.0000}, {50.0000, 0.0000, 0.0000}, 2.3669},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0009}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0010}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0011}, 7.2195},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0012}, 7.2195},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0009, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0010, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0011, -2.4900}, 4.7461},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 0.0000, -2.5000}, 4.3065},
    {{50.0000, 2.5000, 0.0000}, {73.0000, 25.0000, -18.0000}, 27.1492},
    {{50.0000, 2.5000, 0.0000}, {61.0000, -5.0000, 29.0000}, 22.8977},
    {{50.0000, 2.5000, 0.0000}, {56.0000, -27.0000, -3.0000}, 31.9030},
    {{50.0000, 2.5000, 0.0000}, {58.0000, 24.0000, 15.0000}, 19.4535},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.1736, 0.5854}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2972, 0.0000}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 1.8634, 0.5757}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2592, 0.3350}, 1.0000},
    {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
    {{63.0109, -31.0961, -5.8663}, {62.8187, -29.7946, -4.0864}, 1.2630},
    {{61.2901, 3.7196, -5.3901}, {61.4292, 2.2480, -4.9620}, 1.8731},
    {{35.0831, -44.1164, 3.7933}, {35.0232, -40.0716, 1.5901}, 1.8645},
    {{22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
    {{36.4612, 47.8580, 18.3852}, {36.2715, 50.5065, 21.2231}, 1.4146},
    {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
    {{90.9257, -0.5406, -0.9208}, {88.6381, -0.8985, -0.7239}, 1.5381},
    {{6.7747, -0.2908, -2.4247}, {5.8714, -0.0985, -2.2286}, 0.6377},
    {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
};
// The published values are rounded to four decimals.
constexpr double kTolerance = 0.5e-4 + 1e-9;

TEST(ColourDifference, MatchesEveryPublishedPairBothWaysRound)
{
    for (const TestPair& t : kSharmaPairs) {
        EXPECT_NEAR(Ciede2000(t.p, t.q), t.deltaE, kTolerance) << t.p.l << " " << t.p.a << " " << t.p.b;
        EXPECT_NEAR(Ciede2000(t.q, t.p), t.deltaE, kTolerance) << t.q.l << " " << t.q.a << " " << t.q.b;
    }
}

// Random colours over the whole of CIELAB, and the awkward ones: no chroma,
// nearly opposite hues, hues either side of 0, the same colour twice.
TEST(ColourDifference, AgreesWithTheTextbookFormEverywhere)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> lightness(0, 100), axis(-128, 128), unit(-1, 1);
    std::vector<Lab> colours = {{50, 0, 0}, {50, 10, 0}, {50, -10, 0}, {50, 0, 10}, {50, 0, -10}, {30, 5, -0.001},
                                {70, -5, 0.001}, {0, 0, 0}, {100, 0, 0}};
    for (int i = 0; i < 2000; ++i) colours.push_back({lightness(random), axis(random), axis(random)});
    for (int i = 0; i < 200; ++i) colours.push_back({lightness(random), unit(random), unit(random)});
    for (size_t i = 0; i < colours.size(); ++i)
        for (size_t j = i % 7; j < colours.size(); j += 7) {
            const Lab& p = colours[i];
            // Every third pair has nearly opposite hues, 178 degrees apart
            // (exactly opposite, the mean hue is either bisector).
            const double turn = Radians(178), ca = std::cos(turn), sa = std::sin(turn);
            const Lab q = j % 3 ? colours[j] : Lab{colours[j].l, 0.7 * (ca * p.a - sa * p.b), 0.7 * (sa * p.a + ca * p.b)};
            ASSERT_NEAR(Ciede2000(p, q), TextbookCiede2000(p, q), 1e-9)
                << p.l << " " << p.a << " " << p.b << " / " << q.l << " " << q.a << " " << q.b;
        }
}

}  // namespace
