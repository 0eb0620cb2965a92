#include "screen/mirror_tables.h"

namespace {

// A swaps with b; a one-way pair only sends a to b, because b's own mirror
// image is another character.
struct MirrorPair {
    int32_t a;
    int32_t b;
    bool oneWay;
};

constexpr MirrorPair LeftRightPairs[] = {
    {0x1C, 0x1D, false}, {0x1E, 0x5E, false}, {0x2D, 0x59, false}, {0x31, 0x7D, false},
    {0x32, 0x33, false}, {0x35, 0x79, false}, {0x37, 0x3F, false}, {0x39, 0x75, false},
    {0x3B, 0x7B, false}, {0x3D, 0x71, false}, {0x40, 0x45, false}, {0x42, 0x56, false},
    {0x4B, 0x4C, false}, {0x4D, 0x4E, false}, {0x51, 0x57, false}, {0x52, 0x54, false},
    {0x5A, 0xEF, false}, {0x5B, 0x6C, false}, {0x5C, 0x5D, false}, {0x68, 0x69, false},
    {0x6E, 0x6F, false}, {0x72, 0x73, false}, {0x76, 0x77, false}, {0xC3, 0xC4, false},
    {0xCB, 0xCC, false}, {0xE4, 0xE6, false}, {0xE7, 0xE8, false}, {0xF1, 0xF2, false},
    {0xF4, 0xF8, false}, {0xF5, 0xFA, false}, {0xF6, 0xF9, false}, {0xF7, 0xFB, false},
    {0xFD, 0xFE, false},
    {0x7F, 0x37, true},  // the three-column bar has no mirror; the nearest is two columns
};

constexpr MirrorPair UpDownPairs[] = {
    {0x1C, 0x5C, false}, {0x1D, 0x5D, false}, {0x1F, 0x5F, false}, {0x2D, 0x59, false},
    {0x30, 0x7C, false}, {0x32, 0x72, false}, {0x33, 0x73, false}, {0x34, 0x78, false},
    {0x36, 0x3E, false}, {0x38, 0x74, false}, {0x3A, 0x7A, false}, {0x3C, 0x70, false},
    {0x42, 0x4E, false}, {0x4B, 0x6F, false}, {0x4C, 0x6E, false}, {0x4D, 0x56, false},
    {0x50, 0x80, false}, {0x5A, 0xEF, false}, {0x5B, 0x6C, false}, {0x76, 0x77, false},
    {0xB8, 0xBD, false}, {0xC1, 0xC2, false}, {0xCA, 0xCD, false}, {0xF1, 0xF4, false},
    {0xF2, 0xF8, false}, {0xF3, 0xFC, false}, {0xF6, 0xF9, false}, {0xF7, 0xFD, false},
    {0xFB, 0xFE, false},
    {0x7E, 0x7A, true},  // the three-row bar has no mirror; the nearest is the half block
};

template <size_t N>
constexpr int32_t MirrorOf(const MirrorPair (&pairs)[N], int32_t code)
{
    for (const MirrorPair& p : pairs) {
        if (p.a == code) {
            return p.b;
        }
        if (!p.oneWay && p.b == code) {
            return p.a;
        }
    }
    return code;
}

// A code given two mirror images would silently take the first; refuse it.
template <size_t N>
constexpr bool EachCodeMirroredOnce(const MirrorPair (&pairs)[N])
{
    for (int32_t code = 0; code < static_cast<int32_t>(MirrorTableSize); ++code) {
        int uses = 0;
        for (const MirrorPair& p : pairs) {
            uses += (p.a == code) + (!p.oneWay && p.b == code);
        }
        if (uses > 1) {
            return false;
        }
    }
    return true;
}

static_assert(EachCodeMirroredOnce(LeftRightPairs), "a code has two left-right mirrors");
static_assert(EachCodeMirroredOnce(UpDownPairs), "a code has two up-down mirrors");

}  // namespace

// Sixteen entries of one table row; the initialisers are constant
// expressions, so both tables are filled at compile time.
#define MIRROR_ROW(pairs, hi)                                                         \
    MirrorOf(pairs, (hi) + 0x0), MirrorOf(pairs, (hi) + 0x1), MirrorOf(pairs, (hi) + 0x2), \
    MirrorOf(pairs, (hi) + 0x3), MirrorOf(pairs, (hi) + 0x4), MirrorOf(pairs, (hi) + 0x5), \
    MirrorOf(pairs, (hi) + 0x6), MirrorOf(pairs, (hi) + 0x7), MirrorOf(pairs, (hi) + 0x8), \
    MirrorOf(pairs, (hi) + 0x9), MirrorOf(pairs, (hi) + 0xA), MirrorOf(pairs, (hi) + 0xB), \
    MirrorOf(pairs, (hi) + 0xC), MirrorOf(pairs, (hi) + 0xD), MirrorOf(pairs, (hi) + 0xE), \
    MirrorOf(pairs, (hi) + 0xF)

#define MIRROR_TABLE(pairs)                                                            \
    MIRROR_ROW(pairs, 0x00), MIRROR_ROW(pairs, 0x10), MIRROR_ROW(pairs, 0x20),         \
    MIRROR_ROW(pairs, 0x30), MIRROR_ROW(pairs, 0x40), MIRROR_ROW(pairs, 0x50),         \
    MIRROR_ROW(pairs, 0x60), MIRROR_ROW(pairs, 0x70), MIRROR_ROW(pairs, 0x80),         \
    MIRROR_ROW(pairs, 0x90), MIRROR_ROW(pairs, 0xA0), MIRROR_ROW(pairs, 0xB0),         \
    MIRROR_ROW(pairs, 0xC0), MIRROR_ROW(pairs, 0xD0), MIRROR_ROW(pairs, 0xE0),         \
    MIRROR_ROW(pairs, 0xF0)

const int32_t MirrorLeftRight[MirrorTableSize] = {MIRROR_TABLE(LeftRightPairs)};
const int32_t MirrorUpDown[MirrorTableSize] = {MIRROR_TABLE(UpDownPairs)};

#undef MIRROR_TABLE
#undef MIRROR_ROW
