// The screen file reader and writer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

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
    const std::string text = Written();
    EXPECT_EQ(text.size(), 6002u);
    EXPECT_EQ(text.compare(0, 11, "65,800,0,0,"), 0);
    EXPECT_EQ(text.compare(2003, 2, "7,"), 0);  // run 2 starts after "65,800," and 998 "0,"
    EXPECT_EQ(text.compare(4001, 6, "7,1,0,"), 0);  // last foreground, then run 3
    EXPECT_EQ(text.back(), '0');
    EXPECT_EQ(text[text.size() - 2], ',');

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
    ASSERT_TRUE(Read(FileWithFirstCell("007", "7", "1")));  // leading zeros
    EXPECT_EQ(gScreen.code[0], 7);
    EXPECT_EQ(gScreen.attr[0], 0x71);

    ASSERT_TRUE(Read(FileWithFirstCell("1025", "", "")));  // bits above 9 ignored; empty = 0
    EXPECT_EQ(gScreen.code[0], 1);
    EXPECT_EQ(gScreen.attr[0], 0);

    ASSERT_TRUE(Read(FileWithFirstCell("800", "9", "2")));  // fg 8-15 also sets bit 7
    EXPECT_EQ(gScreen.code[0], 0x20);
    EXPECT_EQ(gScreen.attr[0], 0x80 | 0x10 | 0x08 | 0x02);

    // Oversized colours never push the attribute beyond eight bits.
    ASSERT_TRUE(Read(FileWithFirstCell("0", "4294967295", "99999999")));
    EXPECT_EQ(gScreen.attr[0], 0xFF);
    ASSERT_TRUE(Read(FileWithFirstCell("0", "17", "256")));  // bits above 7 dropped
    EXPECT_EQ(gScreen.attr[0], 0x10);

    const std::string base = FileWithFirstCell("1", "2", "3");
    EXPECT_TRUE(Read(base + ","));
    EXPECT_TRUE(Read(base + "\r\nsecond line"));
    EXPECT_TRUE(Read(base + std::string("\0junk", 5)));
    // The text may end right after the 2999th comma: the last background is 0.
    std::string shortLast = base.substr(0, base.size() - 1);
    gScreen.attr[999] = 0x77;
    ASSERT_TRUE(Read(shortLast));
    EXPECT_EQ(gScreen.attr[999], 0);
    shortLast.push_back('\n');  // a blank merely ends that empty last field
    EXPECT_TRUE(Read(shortLast));
}

TEST(ScreenFile, RejectedTextLeavesTheScreenAsItWas)
{
    ResetCore();
    FillPattern();
    const std::string good = Written();
    struct Case {
        std::string text;
        size_t offset;
        int found;
    };
    std::string blank = good;
    blank.insert(2, " ");  // a blank after the first number's digits
    std::string twoRuns = good.substr(0, good.size() / 3 * 2);
    const size_t secondRun = [&] {
        size_t pos = 0;
        for (int i = 0; i < kCellCount; ++i) pos = good.find(',', pos) + 1;
        return pos;
    }();
    std::string lineBreak = good;
    lineBreak[secondRun - 1] = '\n';  // between runs 1 and 2
    std::string minus = good;
    minus.insert(0, "-");
    const Case cases[] = {
        {"", 0, -1},
        {std::string("\xEF\xBB\xBF") + good, 0, 0xEF},
        {minus, 0, '-'},
        {"1,2,3", 5, -1},
        {lineBreak, secondRun - 1, '\n'},
    };
    for (const Case& c : cases) {
        FillPattern();
        ScreenFileProblem problem = {99, 99};
        EXPECT_FALSE(Read(c.text, &problem));
        EXPECT_EQ(problem.offset, c.offset);
        EXPECT_EQ(problem.found, c.found);
        EXPECT_EQ(Written(), good) << "the screen changed";
    }
    for (const std::string& bad : {blank, twoRuns, good.substr(0, 100)}) {
        FillPattern();
        EXPECT_FALSE(Read(bad));
        EXPECT_EQ(Written(), good);
    }
    char why[80];
    DescribeScreenFileProblem({12, ' '}, why, sizeof why);
    EXPECT_STREQ(why, "expected ',' at byte 12, found ' '");
    DescribeScreenFileProblem({3, '\n'}, why, sizeof why);
    EXPECT_STREQ(why, "expected ',' at byte 3, found byte 0x0A");
    DescribeScreenFileProblem({0, -1}, why, sizeof why);
    EXPECT_STREQ(why, "expected ',' at byte 0, found end of file");
}

namespace {
struct FailingSink {
    int callsBeforeFailure;
    size_t written;
};
bool FailAfter(void* context, const char* /*bytes*/, size_t count)
{
    auto* sink = static_cast<FailingSink*>(context);
    if (sink->callsBeforeFailure-- <= 0) return false;
    sink->written += count;
    return true;
}
bool CountPieces(void* context, const char* /*bytes*/, size_t count)
{
    EXPECT_LE(count, 520u);
    ++*static_cast<int*>(context);
    return true;
}
}  // namespace

TEST(ScreenFile, WriterReportsFailedWritesAndWritesInSmallPieces)
{
    ResetCore();
    FillPattern();
    FailingSink first = {0, 0};
    EXPECT_FALSE(WriteScreenFile(FailAfter, &first));
    FailingSink later = {3, 0};
    EXPECT_FALSE(WriteScreenFile(FailAfter, &later));
    EXPECT_GT(later.written, 0u);
    int pieces = 0;
    EXPECT_TRUE(WriteScreenFile(CountPieces, &pieces));
    EXPECT_GT(pieces, 10);
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
