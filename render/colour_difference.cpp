#include "render/colour_difference.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
double Degrees(double radians) { return radians * 180.0 / kPi; }
double Radians(double degrees) { return degrees * kPi / 180.0; }

}  // namespace

double Ciede2000(const Lab& p, const Lab& q)
{
    // Written without the hue angles wherever vectors do the work: the
    // converter calls this tens of thousands of times a picture. The hue
    // difference's sine and the mean hue's direction come from the two
    // (a', b') vectors; the powers and the mean hue's multiple angles are
    // multiplied out. Only the blue region's rotation needs an angle.
    const auto seventh = [](double x) {
        const double x2 = x * x;
        return x2 * x2 * x2 * x;
    };
    const double pow25to7 = 6103515625.0;  // 25^7
    const double c1 = std::sqrt(p.a * p.a + p.b * p.b), c2 = std::sqrt(q.a * q.a + q.b * q.b);
    const double cMean7 = seventh((c1 + c2) / 2);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + pow25to7)));
    const double a1 = (1 + g) * p.a, a2 = (1 + g) * q.a;
    const double cp1 = std::sqrt(a1 * a1 + p.b * p.b), cp2 = std::sqrt(a2 * a2 + q.b * q.b);
    // Whether (a, b) lies at a smaller hue angle (0 to 360) than its opposite.
    const auto lowerHalf = [](double a, double b) { return b > 0 || (b == 0 && a > 0); };

    const double dL = q.l - p.l, dC = cp2 - cp1;
    // dH = 2 sqrt(C1 C2) sin(dh / 2), whose square is 2 (C1 C2 - a1 a2 - b1 b2):
    // the squared distance of the two (a', b') less dC squared, which stays
    // exact for near colours.
    double dH = 0;
    if (cp1 * cp2 != 0) {
        const double cross = a1 * q.b - p.b * a2, da = a2 - a1, db = q.b - p.b;
        const double size = std::sqrt(std::max(da * da + db * db - dC * dC, 0.0));
        const bool ahead = cross > 0 || (cross == 0 && lowerHalf(a1, p.b));
        dH = ahead ? size : -size;
    }

    // The mean hue's direction: the bisector of the smaller arc between the
    // two hues (the other hue alone when one colour has no chroma).
    double ux = 1, uy = 0;
    if (cp1 * cp2 != 0) {
        const double sx = a1 / cp1 + a2 / cp2, sy = p.b / cp1 + q.b / cp2, size = std::sqrt(sx * sx + sy * sy);
        if (size > 1e-12) {
            ux = sx / size;
            uy = sy / size;
        } else {  // opposite hues: a quarter turn on from the smaller angle
            const bool first = lowerHalf(a1, p.b);
            ux = -(first ? p.b / cp1 : q.b / cp2);
            uy = first ? a1 / cp1 : a2 / cp2;
        }
    } else if (cp1 != 0 || cp2 != 0) {
        ux = (a1 + a2) / (cp1 + cp2);
        uy = (p.b + q.b) / (cp1 + cp2);
    }
    const double lMean = (p.l + q.l) / 2, cpMean = (cp1 + cp2) / 2;
    // T = 1 - 0.17 cos(h - 30) + 0.24 cos 2h + 0.32 cos(3h + 6) - 0.20 cos(4h - 63), in degrees.
    const double cos1 = ux, sin1 = uy;
    const double cos2 = 2 * cos1 * cos1 - 1, sin2 = 2 * sin1 * cos1;
    const double cos3 = cos2 * cos1 - sin2 * sin1, sin3 = sin2 * cos1 + cos2 * sin1;
    const double cos4 = 2 * cos2 * cos2 - 1, sin4 = 2 * sin2 * cos2;
    static const double cos30 = std::cos(Radians(30)), sin30 = std::sin(Radians(30)), cos6 = std::cos(Radians(6)),
                        sin6 = std::sin(Radians(6)), cos63 = std::cos(Radians(63)), sin63 = std::sin(Radians(63));
    const double t = 1 - 0.17 * (cos1 * cos30 + sin1 * sin30) + 0.24 * cos2 + 0.32 * (cos3 * cos6 - sin3 * sin6) -
                     0.20 * (cos4 * cos63 + sin4 * sin63);
    // The blue region's rotation, 30 exp(-((h - 275) / 25)^2) degrees, is
    // below 1e-11 for mean hues under 138 degrees: there it is left out.
    static const double cos138 = std::cos(Radians(138));
    double rT = 0;
    if (sin1 < 0 || cos1 < cos138) {
        double hMean = Degrees(std::atan2(sin1, cos1));
        if (hMean < 0) hMean += 360;
        const double fromBlue = (hMean - 275) / 25;
        const double dTheta = 30 * std::exp(-fromBlue * fromBlue);
        const double cpMean7 = seventh(cpMean);
        rT = -std::sin(Radians(2 * dTheta)) * 2 * std::sqrt(cpMean7 / (cpMean7 + pow25to7));
    }
    const double l50 = (lMean - 50) * (lMean - 50);
    const double sL = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sC = 1 + 0.045 * cpMean;
    const double sH = 1 + 0.015 * cpMean * t;
    const double l = dL / sL, c = dC / sC, h = dH / sH;
    return std::sqrt(l * l + c * c + h * h + rT * c * h);
}
