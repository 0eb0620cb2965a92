// How different two colours look: CIELAB, and CIEDE2000 between two points
// of it. The picture converter chooses colours by it, and the quality
// benchmark scores conversions with it.
#pragma once

struct Lab {
    double l, a, b;
};

// CIEDE2000 as Sharma, Wu and Dalal write it out, kL = kC = kH = 1.
double Ciede2000(const Lab& p, const Lab& q);
