// The screen file reader and writer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "io/recovery.h"
#include "io/screen_file.h"
#include "screen/screen.h"
#include "tests/test_support.h"

namespace {

bool AppendTo(void* context, const char* bytes, size_t count)
{
    static_cast<std::string*>(context)->append(bytes, count);
    return true;
}

std::string Written()
{
    std::string text;
    EXPECT_TRUE(WriteScreenFile(AppendTo, &text));
    return text;
}

bool Read(const std::string& text, ScreenFileProblem* problem = nullptr)
{
    return ReadScreenFile(text.data(), text.size(), problem);
}

// A file of 3000 numbers: the cell words, foregrounds and backgrounds given
// for cell 0 (and 0 elsewhere), joined by commas.
std::string FileWithFirstCell(const std::string& word, const std::string& fg, const std::string& bg)
{
    std::string s;
    for (int run = 0; run < 3; ++run)
        for (int i = 0; i < kCellCount; ++i) {
            s += i == 0 ? (run == 0 ? word : run == 1 ? fg : bg) : "0";
            if (run < 2 || i < kCellCount - 1) s += ',';
        }
    return s;
}

void FillPattern()
{
    for (int i = 0; i < kCellCount; ++i) {
        gScreen.code[i] = (i * 7) & 0xFF;
        gScreen.attr[i] = (i * 13) & 0xFF;
    }
}

}  // namespace

TEST(ScreenFile, WriterMatchesTheWorkedExampleAndRoundTrips)
{
    ResetCore();
    for (int i = 0; i < kCellCount; ++i) {
        gScreen.code[i] = 0;
        gScreen.attr[i] = 0x70;
    }
    gScreen.code[0] = 0x41;
    gScreen.attr[0] = 0x71;
    gScreen.code[1] = 0x20;
    gScreen.attr[1] = 0xF8;
    // The mark and the second set go into bits 9 and 8 of the cell word;
    // foregrounds are 7, backgrounds 0 but for the first cell's 1.
    std::string want = "65,800";
    for (int i = 2; i < kCellCount; ++i) want += ",0";
    for (int i = 0; i < kCellCount; ++i) want += ",7";
    want += ",1";
    for (int i = 1; i < kCellCount; ++i) want += ",0";
    EXPECT_EQ(Written(), want);

    // Every attribute bit survives, the mark and the character set included.
    FillPattern();
    const std::string all = Written();
    EXPECT_GE(all.size(), 5999u);
    EXPECT_LE(all.size(), kScreenFileMaxBytes);
    std::memset(&gScreen, 0, sizeof gScreen);
    ASSERT_TRUE(Read(all));
    for (int i = 0; i < kCellCount; ++i) {
        ASSERT_EQ(gScreen.code[i], (i * 7) & 0xFF) << i;
        ASSERT_EQ(gScreen.attr[i], (i * 13) & 0xFF) << i;
    }
    EXPECT_EQ(Written(), all);
}

TEST(ScreenFile, ReaderAcceptsWhatTheFormatAllows)
{
    ResetCore();
    // Leading zeros; bits above 9 of the word ignored, an empty number 0; a
    // foreground of 8-15 also sets bit 7; oversized colours never push the
    // attribute beyond eight bits, and their bits above 7 are dropped.
    const std::tuple<const char*, const char*, const char*, int, int> cells[] = {
        {"007", "7", "1", 7, 0x71}, {"1025", "", "", 1, 0}, {"800", "9", "2", 0x20, 0x80 | 0x10 | 0x08 | 0x02},
        {"0", "4294967295", "99999999", 0, 0xFF}, {"0", "17", "256", 0, 0x10}};
    for (const auto& [word, fg, bg, code, attr] : cells) {
        ASSERT_TRUE(Read(FileWithFirstCell(word, fg, bg))) << word << "," << fg << "," << bg;
        EXPECT_TRUE(gScreen.code[0] == code && gScreen.attr[0] == attr) << word << "," << fg << "," << bg;
    }
    const std::string base = FileWithFirstCell("1", "2", "3");
    for (const std::string& tail : {std::string(","), std::string("\r\nsecond line"), std::string("\0junk", 5)})
        EXPECT_TRUE(Read(base + tail));
    // The text may end right after the 2999th comma: the last background is
    // 0; a blank merely ends that empty last field.
    std::string shortLast = base.substr(0, base.size() - 1);
    gScreen.attr[999] = 0x77;
    ASSERT_TRUE(Read(shortLast));
    EXPECT_EQ(gScreen.attr[999], 0);
    EXPECT_TRUE(Read(shortLast + "\n"));
}

TEST(ScreenFile, RejectedTextLeavesTheScreenAsItWas)
{
    ResetCore();
    FillPattern();
    const std::string good = Written();
    size_t secondRun = 0;  // just after the 1000th comma
    for (int i = 0; i < kCellCount; ++i) secondRun = good.find(',', secondRun) + 1;
    std::string lineBreak = good;
    lineBreak[secondRun - 1] = '\n';  // between runs 1 and 2
    constexpr size_t kAny = ~size_t{0};  // where the reader stops is not the point
    const std::tuple<std::string, size_t, int> cases[] = {
        {"", 0, -1},
        {"\xEF\xBB\xBF" + good, 0, 0xEF},
        {"-" + good, 0, '-'},
        {"1,2,3", 5, -1},
        {lineBreak, secondRun - 1, '\n'},
        {std::string(good).insert(2, " "), kAny, 0},  // a blank after the first number's digits
        {good.substr(0, good.size() / 3 * 2), kAny, 0},
        {good.substr(0, 100), kAny, 0},
    };
    for (const auto& [text, offset, found] : cases) {
        FillPattern();
        ScreenFileProblem problem = {99, 99};
        EXPECT_FALSE(Read(text, &problem));
        EXPECT_TRUE(offset == kAny || (problem.offset == offset && problem.found == found)) << problem.offset;
        EXPECT_EQ(Written(), good) << "the screen changed";
    }
    char why[80];
    DescribeScreenFileProblem({3, '\n'}, why, sizeof why);
    EXPECT_STREQ(why, "expected ',' at byte 3, found byte 0x0A");
    DescribeScreenFileProblem({0, -1}, why, sizeof why);
    EXPECT_STREQ(why, "expected ',' at byte 0, found end of file");  // a printable byte: see the vexa-cli check
}

TEST(ScreenFile, WriterReportsFailedWritesAndWritesInSmallPieces)
{
    ResetCore();
    FillPattern();
    // The sink takes `calls` pieces of at most 520 bytes, then fails.
    struct Sink {
        int calls, taken = 0;
    };
    const auto sink = [](void* context, const char*, size_t count) {
        auto* s = static_cast<Sink*>(context);
        EXPECT_LE(count, 520u);
        return s->taken < s->calls && ++s->taken;
    };
    Sink none = {0}, some = {3}, all = {1 << 20};
    EXPECT_FALSE(WriteScreenFile(sink, &none));
    EXPECT_FALSE(WriteScreenFile(sink, &some));
    EXPECT_EQ(some.taken, 3);
    EXPECT_TRUE(WriteScreenFile(sink, &all));
    EXPECT_GT(all.taken, 10);
}

TEST(ScreenFile, MangledTextsAreAcceptedWholeOrLeaveTheScreenAlone)
{
    // Random damage to a valid file: every outcome is all-or-nothing, and
    // what is accepted always writes back as a valid file (run under the
    // sanitizers too).
    ResetCore();
    FillPattern();
    const std::string good = Written();
    uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    const char alphabet[] = "0123456789,,,, \n-\xEF\x00x9";
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
        const int edits = 1 + static_cast<int>(next() % 6);
        for (int e = 0; e < edits; ++e) {
            const size_t at = next() % (text.size() + 1);
            const char c = alphabet[next() % (sizeof alphabet - 1)];
            switch (next() % 4) {
            case 0: text.insert(at, 1, c); break;
            case 1: if (at < text.size()) text.erase(at, 1); break;
            case 2: if (at < text.size()) text[at] = c; break;
            default: text.resize(at); break;
            }
        }
        FillPattern();
        ScreenFileProblem problem = {0, 0};
        if (ReadScreenFile(text.data(), text.size(), &problem)) {
            for (int i = 0; i < kCellCount; ++i) {
                ASSERT_GE(gScreen.attr[i], 0);
                ASSERT_LE(gScreen.attr[i], 0xFF);
                ASSERT_LE(gScreen.code[i], 0xFF);
            }
            const std::string again = Written();
            std::memset(&gScreen, 0, sizeof gScreen);
            ASSERT_TRUE(Read(again));
            ASSERT_EQ(Written(), again);
        } else {
            ASSERT_LE(problem.offset, text.size());
            ASSERT_EQ(Written(), good) << "round " << round;
        }
    }
}

TEST(Recovery, CopyRoundTripsAndDamagedCopiesChangeNothing)
{
    ResetCore();
    for (int i = 0; i < kCellCount; ++i) Put(i % 40, i / 40, (i * 11) & 0xFF, (i * 5) & 0xFF);
    const ScreenBuffer painted = gScreen;
    const std::string copy = RecoveryText("C:\\絵\\title.txt");
    std::memset(&gScreen, 0, sizeof gScreen);
    std::string path = "unchanged";
    ASSERT_TRUE(ReadRecovery(copy.data(), copy.size(), path));
    EXPECT_EQ(path, "C:\\絵\\title.txt");
    EXPECT_EQ(0, std::memcmp(&gScreen, &painted, sizeof painted));

    std::memset(&gScreen, 0, sizeof gScreen);
    const std::string untitled = RecoveryText("");
    for (const std::string& damaged :
         {std::string("Vexa recovery 2\n\n") + untitled.substr(17), copy.substr(0, 16), copy.substr(0, copy.size() - 5),
          std::string("Vexa recovery 1\nC:\\a\0b\n", 23) + untitled.substr(17)}) {
        EXPECT_FALSE(ReadRecovery(damaged.data(), damaged.size(), path)) << damaged.substr(0, 30);
        EXPECT_EQ(path, "C:\\絵\\title.txt");
        EXPECT_EQ(gScreen.code[1], 0);
    }
}
