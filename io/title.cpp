#include "io/title.h"

namespace {

constexpr size_t kNameLimit = 73;
constexpr size_t kTitleLimit = 76;
const char kProgramTitle[] = "Vexa";

// Length in UTF-8 bytes of the character starting at s[i].
size_t CharBytes(const std::string& s, size_t i)
{
    const unsigned char b = static_cast<unsigned char>(s[i]);
    size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return i + n <= s.size() ? n : s.size() - i;
}

// Width the character takes in the Japanese code page.
size_t CharWidth(const std::string& s, size_t i, size_t bytes)
{
    if (bytes == 1) return 1;
    // Half-width katakana U+FF61-U+FF9F: EF BD A1-BF, EF BE 80-9F.
    const unsigned char b0 = static_cast<unsigned char>(s[i]);
    const unsigned char b1 = static_cast<unsigned char>(s[i + 1]);
    const unsigned char b2 = bytes == 3 ? static_cast<unsigned char>(s[i + 2]) : 0;
    if (bytes == 3 && b0 == 0xEF && ((b1 == 0xBD && b2 >= 0xA1) || (b1 == 0xBE && b2 <= 0x9F))) return 1;
    return 2;
}

}  // namespace

std::string BuildTitle(const std::string& name, bool modified, const std::string& untitled)
{
    const std::string shown = name.empty() ? untitled : name;
    std::string title;
    size_t width = 0;
    for (size_t i = 0; i < shown.size();) {
        const size_t bytes = CharBytes(shown, i);
        const size_t w = CharWidth(shown, i, bytes);
        if (width + w > kNameLimit) break;  // never half a character
        title.append(shown, i, bytes);
        width += w;
        i += bytes;
    }
    title += modified ? " * " : " - ";
    width += 3;
    const size_t programLength = sizeof kProgramTitle - 1;
    size_t copied = 0;
    while (copied < programLength && width < kTitleLimit) {
        title.push_back(kProgramTitle[copied++]);
        ++width;
    }
    if (copied < programLength) title += "...";
    return title;
}
