// The screen file reader and writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>

#include "anim/frames.h"
#include "app/document_files.h"
#include "io/recovery.h"
#include "io/screen_file.h"
#include "screen/document.h"
#include "screen/screen.h"
#include "screen/selection.h"
#include "screen/undo.h"
#include "tests/test_support.h"

namespace {

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
        gDoc.screen.code[i] = (i * 7) & 0xFF;
        gDoc.screen.attr[i] = (i * 13) & 0xFF;
    }
}

}  // namespace

TEST(ScreenFile, WriterMatchesTheWorkedExampleRoundTripsAndReportsFailedWrites)
{
    ResetCore();
    for (int i = 0; i < kCellCount; ++i) gDoc.screen.attr[i] = 0x70;
    Put(0, 0, 0x41, 0x71);
    Put(1, 0, 0x20, 0xF8);
    // The mark and the second set go into bits 9 and 8 of the cell word;
    // foregrounds are 7, backgrounds 0 but for the first cell's 1.
    std::string want = "65,800";
    for (int i = 2; i < 3 * kCellCount; ++i)
        want += i < kCellCount || i > 2 * kCellCount ? ",0" : i < 2 * kCellCount ? ",7" : ",1";
    EXPECT_EQ(ScreenFileText(), want);

    // Every attribute bit survives, the mark and the character set included.
    FillPattern();
    const ScreenBuffer painted = gDoc.screen;
    const std::string all = ScreenFileText();
    EXPECT_LE(all.size(), kScreenFileMaxBytes);
    std::memset(&gDoc.screen, 0, sizeof gDoc.screen);
    ASSERT_TRUE(Read(all));
    EXPECT_EQ(0, std::memcmp(&gDoc.screen, &painted, sizeof painted));

    // The sink takes `calls` pieces of at most 520 bytes, then fails; the
    // writer offers nothing after a failure.
    struct Sink {
        int calls, taken = 0, offered = 0;
    };
    const auto sink = [](void* context, const char*, size_t count) {
        auto* s = static_cast<Sink*>(context);
        EXPECT_LE(count, 520u);
        ++s->offered;
        return s->taken < s->calls && ++s->taken;
    };
    Sink none = {0}, some = {3}, every = {1 << 20};
    EXPECT_FALSE(WriteScreenFile(sink, &none) || WriteScreenFile(sink, &some));
    EXPECT_TRUE(some.taken == 3 && some.offered == 4 && none.offered == 1);
    EXPECT_TRUE(WriteScreenFile(sink, &every) && every.taken > 10);
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
        EXPECT_TRUE(gDoc.screen.code[0] == code && gDoc.screen.attr[0] == attr) << word << "," << fg << "," << bg;
    }
    const std::string base = FileWithFirstCell("1", "2", "3");
    for (const std::string& tail : {std::string(","), std::string("\r\nsecond line"), std::string("\0junk", 5)})
        EXPECT_TRUE(Read(base + tail));
    // The text may end right after the 2999th comma: the last background is
    // 0; a blank merely ends that empty last field.
    std::string shortLast = base.substr(0, base.size() - 1);
    gDoc.screen.attr[999] = 0x77;
    EXPECT_TRUE(Read(shortLast) && gDoc.screen.attr[999] == 0 && Read(shortLast + "\n"));
}

TEST(ScreenFile, RejectedTextLeavesTheScreenAsItWas)
{
    ResetCore();
    FillPattern();
    const std::string good = ScreenFileText();
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
        EXPECT_EQ(ScreenFileText(), good) << "the screen changed";
    }
    char why[80];
    DescribeScreenFileProblem({3, '\n'}, why, sizeof why);
    EXPECT_STREQ(why, "expected ',' at byte 3, found byte 0x0A");
    DescribeScreenFileProblem({0, -1}, why, sizeof why);
    EXPECT_STREQ(why, "expected ',' at byte 0, found end of file");  // a printable byte: see the vexa-cli check
}

TEST(Recovery, CopyRoundTripsAndDamagedCopiesChangeNothing)
{
    ResetCore();
    for (int i = 0; i < kCellCount; ++i) Put(i % 40, i / 40, (i * 11) & 0xFF, (i * 5) & 0xFF);
    const ScreenBuffer painted = gDoc.screen;
    Frame kept[kFrameCount], frames[kFrameCount];
    std::fill(kept, kept + kFrameCount, kUndefinedFrame);
    kept[1] = {3, 4, 9, 8};
    kept[8] = {0, 0, 39, 24};
    const std::string copy = RecoveryText("C:\\絵\\title.txt", kept);
    std::memset(&gDoc.screen, 0, sizeof gDoc.screen);
    std::string path = "unchanged";
    std::fill(frames, frames + kFrameCount, Frame{1, 1, 1, 1});
    ASSERT_TRUE(ReadRecovery(copy.data(), copy.size(), path, frames));
    EXPECT_TRUE(path == "C:\\絵\\title.txt" && std::memcmp(&gDoc.screen, &painted, sizeof painted) == 0);
    EXPECT_EQ(std::memcmp(frames, kept, sizeof kept), 0);

    // A copy written before frames were kept still loads, with no frames.
    gDoc.screen = painted;
    const std::string oldCopy = "Vexa recovery 1\nD:\\old.txt\n" + ScreenFileText();
    std::memset(&gDoc.screen, 0, sizeof gDoc.screen);
    ASSERT_TRUE(ReadRecovery(oldCopy.data(), oldCopy.size(), path, frames));
    EXPECT_TRUE(path == "D:\\old.txt" && std::memcmp(&gDoc.screen, &painted, sizeof painted) == 0);
    for (const Frame& f : frames) EXPECT_EQ(f.left, -1);

    std::memset(&gDoc.screen, 0, sizeof gDoc.screen);
    std::memcpy(frames, kept, sizeof kept);
    // Cut short anywhere, even at the end of a frame's line, or holding a
    // frame that is not one.
    const std::string untitled = RecoveryText("", kept), end = "# end\n";
    const std::string framesCut = copy.substr(0, copy.size() - end.size() - 1), body = framesCut.substr(0, framesCut.rfind('\n') + 1);
    for (const std::string& damaged :
         {std::string("Vexa recovery 2\n\n") + untitled.substr(17), copy.substr(0, 16),
          copy.substr(0, copy.find('\n', copy.find('\n', 16) + 1) - 5), std::string("Vexa recovery 1\nC:\\a\0b\n", 23) + untitled.substr(17),
          RecoveryText("D:\\other.txt", kept).substr(0, 200), copy.substr(0, copy.size() - 3), framesCut, body,
          body + "10 0 0 0 0\n" + end, body + "2 0 0 0 0\n" + end}) {
        EXPECT_FALSE(ReadRecovery(damaged.data(), damaged.size(), path, frames)) << damaged.substr(0, 30);
        EXPECT_TRUE(path == "D:\\old.txt" && gDoc.screen.code[1] == 0);
        EXPECT_EQ(std::memcmp(frames, kept, sizeof kept), 0);
    }
}

// What every front end does with an opened file's bytes and with a recovery
// copy: a rejected file changes nothing, an accepted one starts a fresh
// history; the recovery timer writes only new changes, of the screen or of
// the frames, and deletes the copy once nothing is unsaved; a copy is read
// aside and restored as unsaved, with its frames.
TEST(DocumentFiles, OpeningAndRecoveringFollowTheHistory)
{
    ResetCore();
    Put(3, 4, 0x41, 0x71);
    const std::string file = ScreenFileText();
    BeginUndoGroup();
    SetCell(0, 0, 0x42, 0x17);
    ASSERT_TRUE(IsModified());
    const ScreenBuffer edited = gDoc.screen;
    const std::string damaged = file.substr(0, file.size() - 2);
    EXPECT_FALSE(OpenScreenText(damaged.data(), damaged.size()));
    EXPECT_TRUE(std::memcmp(&gDoc.screen, &edited, sizeof edited) == 0 && CanUndo() && IsModified());

    EXPECT_EQ(DueRecoveryStep(false, UINT64_MAX), RecoveryStep::Write);
    const uint64_t written = RecoveryStamp();
    EXPECT_EQ(DueRecoveryStep(true, written), RecoveryStep::Nothing);
    ResetFrames();
    SetSelection(2, 3, 4, 5);
    SetOrCancelFrame(6);
    EXPECT_EQ(DueRecoveryStep(true, written), RecoveryStep::Write);
    const std::string copy = RecoveryCopyText("a.txt");
    ResetFrames();

    ASSERT_TRUE(OpenScreenText(file.data(), file.size()));
    EXPECT_TRUE(CodeAt(3, 4) == 0x41 && CodeAt(0, 0) == 0 && !CanUndo() && !IsModified());
    EXPECT_EQ(DueRecoveryStep(true, 0), RecoveryStep::Delete);
    EXPECT_EQ(DueRecoveryStep(false, 0), RecoveryStep::Nothing);

    std::string path;
    RecoveredSession recovered;
    EXPECT_FALSE(ReadRecoveryAside(copy.data(), copy.size() - 3, path, recovered));
    ASSERT_TRUE(ReadRecoveryAside(copy.data(), copy.size(), path, recovered));
    EXPECT_TRUE(path == "a.txt" && CodeAt(0, 0) == 0 && recovered.screen.code[0] == 0x42 && !AnyFrameDefined());
    RestoreRecoveredSession(recovered);
    EXPECT_TRUE(CodeAt(0, 0) == 0x42 && IsModified() && !CanUndo());
    EXPECT_TRUE(FrameDefined(6) && gFrames[6].left == 2 && gFrames[6].bottom == 5);
}
