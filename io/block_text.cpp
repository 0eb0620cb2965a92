#include "io/block_text.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kValuesPerLine = 16;
constexpr uint32_t kTooLarge = 0x100;  // every value from here on is refused alike

void WriteSection(std::string& out, const int32_t* values, int stride, int w, int h)
{
    int count = 0;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            char field[4];
            std::snprintf(field, sizeof field, "%02X ", static_cast<unsigned>(values[r * stride + c]) & 0xFF);
            out += field;
            if (++count == kValuesPerLine) {
                out.back() = '\n';
                count = 0;
            }
        }
    if (count != 0) out.back() = '\n';
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsLetter(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }

int DigitValue(char ch)
{
    if (IsDigit(ch)) return ch - '0';
    return (ch >= 'a' ? ch - 'a' : ch - 'A') + 10;
}

// Walks the text within its bounds; a zero byte ends it too.
struct Reader {
    const char* at;
    const char* end;

    bool Ended() const { return at == end || *at == '\0'; }
    void SkipSeparators()
    {
        while (!Ended() && !IsDigit(*at) && !IsLetter(*at)) ++at;
    }
    // Decimal digits only. Values stop growing past `limit`, so no length
    // of field can wrap into range.
    uint32_t Decimal(uint32_t limit)
    {
        SkipSeparators();
        uint32_t v = 0;
        for (; !Ended() && IsDigit(*at); ++at) v = std::min<uint32_t>(v * 10 + (*at - '0'), limit);
        return v;
    }
    uint32_t Field()
    {
        SkipSeparators();
        uint32_t v = 0;
        for (; !Ended() && (IsDigit(*at) || IsLetter(*at)); ++at)
            v = std::min<uint32_t>(v * 16 + DigitValue(*at), kTooLarge);
        return v;
    }
};

bool ReadSection(Reader& in, int n, uint8_t* values)
{
    for (int i = 0; i < n; ++i) {
        const uint32_t v = in.Field();
        // Block text always goes on after a value: a line feed ends it.
        if (v >= kTooLarge || in.Ended()) return false;
        values[i] = static_cast<uint8_t>(v);
    }
    return true;
}

}  // namespace

std::string WriteBlockText(const int32_t* codes, const int32_t* attrs, int stride, int w, int h)
{
    char sizeLine[16];
    std::snprintf(sizeLine, sizeof sizeLine, "%2d %2d\n", w, h);
    std::string out = sizeLine;
    WriteSection(out, codes, stride, w, h);
    WriteSection(out, attrs, stride, w, h);
    return out;
}

bool ReadBlockText(const char* text, size_t size, BlockCells& out)
{
    Reader in = {text, text + size};
    const uint32_t w = in.Decimal(kBlockTextMaxWidth + 1);
    const uint32_t h = in.Decimal(kBlockTextMaxHeight + 1);
    if (w < 1 || w > kBlockTextMaxWidth || h < 1 || h > kBlockTextMaxHeight) return false;
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    const int n = out.width * out.height;
    return ReadSection(in, n, out.code) && ReadSection(in, n, out.attr);
}
