// The frames file: what a person writes by hand is read, what the editor
// writes reads back the same, and a damaged file changes nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "io/frames_file.h"

namespace {

bool Same(const Frame (&a)[kFrameCount], const Frame (&b)[kFrameCount])
{
    for (int k = 0; k < kFrameCount; ++k) {
        if ((a[k].left < 0) != (b[k].left < 0)) return false;
        if (a[k].left >= 0 && std::memcmp(&a[k], &b[k], sizeof a[k]) != 0) return false;
    }
    return true;
}

void Fill(Frame (&frames)[kFrameCount], const Frame& f)
{
    for (Frame& each : frames) each = f;
}

}  // namespace

TEST(FramesFile, HandWrittenTextIsRead)
{
    // A byte-order mark, comments (also indented), blank lines, tabs, runs of
    // blanks, CRLF and a last line without a break; frames in any order.
    const std::string text =
        "\xEF\xBB\xBF# walking man\r\n"
        "\r\n"
        "2 3 4 9 8\r\n"
        "   # the second step\n"
        "\t9\t0  0 39 24 \n"
        "  \t \n"
        "1 0 0 0 0";
    Frame frames[kFrameCount];
    Fill(frames, {7, 7, 7, 7});
    ASSERT_TRUE(ReadFramesFile(text.data(), text.size(), frames, nullptr));
    Frame want[kFrameCount];
    Fill(want, kUndefinedFrame);
    want[0] = {0, 0, 0, 0};
    want[1] = {3, 4, 9, 8};
    want[8] = {0, 0, 39, 24};
    EXPECT_TRUE(Same(frames, want));  // the others undefined

    // An empty file, or one of comments only, names no frame: all undefined.
    for (const std::string& none : {std::string(), std::string("# nothing yet\n"), std::string("\xEF\xBB\xBF")}) {
        Fill(frames, {1, 1, 1, 1});
        ASSERT_TRUE(ReadFramesFile(none.data(), none.size(), frames, nullptr)) << none;
        for (const Frame& f : frames) EXPECT_EQ(f.left, -1) << none;
    }
}

TEST(FramesFile, WhatIsWrittenReadsBackTheSame)
{
    std::mt19937 random(18);
    for (int round = 0; round < 200; ++round) {
        Frame frames[kFrameCount];
        for (Frame& f : frames) {
            const int left = static_cast<int>(random() % 40), top = static_cast<int>(random() % 25);
            f = random() % 3 == 0 ? kUndefinedFrame
                                  : Frame{left, top, left + static_cast<int>(random() % (40 - left)),
                                          top + static_cast<int>(random() % (25 - top))};
        }
        const std::string text = FramesFileText(frames);
        ASSERT_EQ(text[0], '#');  // it explains itself
        Frame back[kFrameCount];
        Fill(back, {5, 5, 5, 5});
        FramesFileProblem problem = {};
        ASSERT_TRUE(ReadFramesFile(text.data(), text.size(), back, &problem)) << DescribeFramesFileProblem(problem);
        ASSERT_TRUE(Same(frames, back)) << text;
    }
    // One line per defined frame, as a person would write it.
    Frame frames[kFrameCount];
    Fill(frames, kUndefinedFrame);
    frames[1] = {3, 4, 9, 8};
    const std::string text = FramesFileText(frames);
    EXPECT_EQ(text.substr(text.find('\n') + 1), "2 3 4 9 8\n");
}

TEST(FramesFile, ADamagedFileChangesNothingAndSaysWhere)
{
    const struct {
        std::string text;
        int line;
        FramesFault fault;
    } damaged[] = {
        {"1 0 0 0", 1, FramesFault::NotFiveNumbers},
        {"1 0 0 0 0 0", 1, FramesFault::NotFiveNumbers},
        {"# ok\n1,0,0,0,0", 2, FramesFault::NotFiveNumbers},
        {"1 0 0 0 0\n2 0 -1 0 0", 2, FramesFault::NotFiveNumbers},
        {"1 0 0 0 0 # a comment after numbers", 1, FramesFault::NotFiveNumbers},
        {"1 0 0 0 0x", 1, FramesFault::NotFiveNumbers},
        {"+1 0 0 0 0", 1, FramesFault::NotFiveNumbers},
        {std::string("1 0 0\0 0 0", 10), 1, FramesFault::NotFiveNumbers},
        {"\n\n0 0 0 0 0", 3, FramesFault::FrameNumber},
        {"10 0 0 0 0", 1, FramesFault::FrameNumber},
        {"4294967297 0 0 0 0", 1, FramesFault::FrameNumber},  // 1 after wrapping 32 bits
        {"1 0 0 40 0", 1, FramesFault::OffTheScreen},
        {"1 0 0 0 25", 1, FramesFault::OffTheScreen},
        {"1 5 0 4 0", 1, FramesFault::OffTheScreen},
        {"1 0 5 0 4", 1, FramesFault::OffTheScreen},
        {"1 0 0 39 4294967320", 1, FramesFault::OffTheScreen},  // 24 after wrapping
        {"3 0 0 1 1\n# again\n3 2 2 3 3\n", 3, FramesFault::Repeated},
    };
    Frame before[kFrameCount];
    Fill(before, kUndefinedFrame);
    before[4] = {1, 2, 3, 4};
    for (const auto& d : damaged) {
        Frame frames[kFrameCount];
        std::memcpy(frames, before, sizeof frames);
        FramesFileProblem problem = {-1, FramesFault::Repeated};
        EXPECT_FALSE(ReadFramesFile(d.text.data(), d.text.size(), frames, &problem)) << d.text;
        EXPECT_EQ(std::memcmp(frames, before, sizeof frames), 0) << d.text;
        EXPECT_TRUE(problem.line == d.line && problem.fault == d.fault)
            << d.text << " -> " << DescribeFramesFileProblem(problem);
    }
}
