#include "render/colour_difference.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
double Degrees(double radians) { return radians * 180.0 / kPi; }
double Radians(double degrees) { return degrees * kPi / 180.0; }

}  // namespace

double Ciede2000(const Lab& p, const Lab& q)
{
    // The powers and the hue's cosines are written out (by the multiple-angle
    // identities): the converter calls this some 30000 times a picture.
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
    // T = 1 - 0.17 cos(h - 30) + 0.24 cos 2h + 0.32 cos(3h + 6) - 0.20 cos(4h - 63), in degrees.
    const double cos1 = std::cos(Radians(hMean)), sin1 = std::sin(Radians(hMean));
    const double cos2 = 2 * cos1 * cos1 - 1, sin2 = 2 * sin1 * cos1;
    const double cos3 = cos2 * cos1 - sin2 * sin1, sin3 = sin2 * cos1 + cos2 * sin1;
    const double cos4 = 2 * cos2 * cos2 - 1, sin4 = 2 * sin2 * cos2;
    static const double cos30 = std::cos(Radians(30)), sin30 = std::sin(Radians(30)), cos6 = std::cos(Radians(6)),
                        sin6 = std::sin(Radians(6)), cos63 = std::cos(Radians(63)), sin63 = std::sin(Radians(63));
    const double t = 1 - 0.17 * (cos1 * cos30 + sin1 * sin30) + 0.24 * cos2 + 0.32 * (cos3 * cos6 - sin3 * sin6) -
                     0.20 * (cos4 * cos63 + sin4 * sin63);
    const double fromBlue = (hMean - 275) / 25;
    const double dTheta = 30 * std::exp(-fromBlue * fromBlue);
    const double cpMean7 = seventh(cpMean);
    const double rC = 2 * std::sqrt(cpMean7 / (cpMean7 + pow25to7));
    const double l50 = (lMean - 50) * (lMean - 50);
    const double sL = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sC = 1 + 0.045 * cpMean;
    const double sH = 1 + 0.015 * cpMean * t;
    const double rT = -std::sin(Radians(2 * dTheta)) * rC;
    const double l = dL / sL, c = dC / sC, h = dH / sH;
    return std::sqrt(l * l + c * c + h * h + rT * c * h);
}
