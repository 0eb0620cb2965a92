#include "anim/animation_mzf.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "anim/frames.h"
#include "io/exports.h"
#include "render/font.h"
#include "screen/screen.h"

namespace {

// What a frame smaller than the area leaves: black on black.
constexpr char kBlankCode = 0x00;
constexpr char kBlankAttr = 0x00;
constexpr uint16_t kColourOffset = kColourVram - kTextVram;

// T-states of the timed parts of the program below, instruction by
// instruction; the delay loop makes up the rest of each period.
constexpr int kLdirStep = 21, kLdirLast = 16, kJrTaken = 12, kJrNotTaken = 7;
constexpr int RowStates(int columns)
{
    return 10 + kLdirStep * (columns - 1) + kLdirLast + 4 + 7 + 11 + 4 + 4 + kJrTaken;
}
constexpr int PlaneStates(int columns, int rows) { return 7 + rows * RowStates(columns) - kJrTaken + kJrNotTaken; }
constexpr int CopyStates(int columns, int rows)
{
    return 10 + 2 * PlaneStates(columns, rows) + (4 + 7 + 10 + kJrTaken) + (4 + 7 + 10 + kJrNotTaken);
}
constexpr int kSpinStates = 6 + 4 + 4 + kJrTaken;
constexpr int64_t DelayStates(int outer, int inner)
{
    return 7 + outer * (10 + int64_t{inner} * kSpinStates - kJrTaken + kJrNotTaken + 4 + kJrTaken) - kJrTaken +
           kJrNotTaken;
}
constexpr int kCheckStates = 10 + 4 + 15 + 11 + kJrTaken;
// From one picture complete to the next: back to the delay, the delay, the
// check for the last frame, and the copy.
constexpr int64_t PeriodStates(int columns, int rows, int outer, int inner)
{
    return kJrTaken + DelayStates(outer, inner) + kCheckStates + CopyStates(columns, rows);
}
constexpr int kMaxInner = 65535;
constexpr int64_t kOuterPassStates = DelayStates(1, 0) - DelayStates(0, 0);  // besides its spins
constexpr int64_t StatesOf(int milliseconds) { return (int64_t{milliseconds} * kZ80ClockHz + 500) / 1000; }
// The outer count is one byte.
static_assert(StatesOf(kLongestAnimationDelay) < DelayStates(255, kMaxInner), "the longest delay can be counted");

// Where the frames play: the player's picture of the largest frame width
// and height at the first frame's top-left, cut at the screen's edges.
struct Area {
    int left, top, columns, rows;
};
bool FrameArea(Area& area)
{
    const int first = NextDefinedFrame(0);
    PlayerLayout layout;
    if (first < 0 || !PlanPlayer(1, layout)) return false;
    area.left = gFrames[first].left;
    area.top = gFrames[first].top;
    area.columns = std::min(layout.bufferWidth / kCellPixels, kScreenColumns - area.left);
    area.rows = std::min(layout.bufferHeight / kCellPixels, kScreenRows - area.top);
    return true;
}

struct DelayCounts {
    int outer, inner;
};
// The counts whose period comes nearest `delayMs`, which is no shorter
// than ShortestAnimationDelay and no longer than kLongestAnimationDelay.
DelayCounts CountsFor(const Area& area, int delayMs)
{
    const int64_t rest = StatesOf(delayMs) - PeriodStates(area.columns, area.rows, 0, 0);
    const int64_t longestPass = kOuterPassStates + int64_t{kMaxInner} * kSpinStates;
    const int64_t outer = std::max<int64_t>(1, (rest + longestPass - 1) / longestPass);
    const int64_t inner = (rest - outer * kOuterPassStates + outer * kSpinStates / 2) / (outer * kSpinStates);
    return {static_cast<int>(outer), static_cast<int>(inner)};
}

// The program, hand-assembled: each instruction with its mnemonic. It uses
// no stack and no interrupt, so it needs nothing of the monitor's.
constexpr uint16_t kProgramBytes = 73;
struct Code {
    std::string bytes;
    size_t Here() const { return bytes.size(); }
    void Op(std::initializer_list<int> b)
    {
        for (int v : b) bytes += static_cast<char>(v & 0xFF);
    }
    void OpWord(int op, int word) { Op({op, word, word >> 8}); }
    void Jr(int op, size_t to) { Op({op, static_cast<int>(to) - static_cast<int>(Here() + 2)}); }
};

// The screen goes to VRAM; then, for ever: wait, copy the next frame's
// codes and attributes into the area row by row, back to the first frame
// after the last. HL walks through the frames' pictures.
std::string Program(uint16_t screen, uint16_t frames, uint16_t end, const Area& area, const DelayCounts& counts)
{
    const uint16_t textArea = static_cast<uint16_t>(kTextVram + CellIndex(area.left, area.top));
    Code c;
    c.Op({0xF3});                                     // START:  DI
    c.OpWord(0x21, screen);                           //         LD HL,SCREEN
    c.OpWord(0x11, kTextVram);                        //         LD DE,0D000H
    c.OpWord(0x01, kCellCount);                       //         LD BC,1000
    c.Op({0xED, 0xB0});                               //         LDIR
    c.OpWord(0x11, kColourVram);                      //         LD DE,0D800H
    c.OpWord(0x01, kCellCount);                       //         LD BC,1000
    c.Op({0xED, 0xB0});                               //         LDIR           ; HL = FRAMES
    const size_t waits = c.Here();
    c.Op({0x16, counts.outer});                       // WAITS:  LD D,OUTER
    const size_t wait = c.Here();
    c.OpWord(0x01, counts.inner);                     // WAIT:   LD BC,INNER
    const size_t spin = c.Here();
    c.Op({0x0B});                                     // SPIN:   DEC BC
    c.Op({0x78});                                     //         LD A,B
    c.Op({0xB1});                                     //         OR C
    c.Jr(0x20, spin);                                 //         JR NZ,SPIN
    c.Op({0x15});                                     //         DEC D
    c.Jr(0x20, wait);                                 //         JR NZ,WAIT
    c.OpWord(0x11, end);                              //         LD DE,END      ; past the last frame?
    c.Op({0xB7});                                     //         OR A
    c.Op({0xED, 0x52});                               //         SBC HL,DE
    c.Op({0x19});                                     //         ADD HL,DE
    c.Op({0x20, 3});                                  //         JR NZ,NEXT     ; else from the first again
    c.OpWord(0x21, frames);                           // AGAIN:  LD HL,FRAMES
    c.OpWord(0x11, textArea);                         // NEXT:   LD DE,TAREA    ; codes first
    const size_t plane = c.Here();
    c.Op({0x3E, area.rows});                          // PLANE:  LD A,ROWS
    const size_t row = c.Here();
    c.OpWord(0x01, area.columns);                     // ROW:    LD BC,COLUMNS
    c.Op({0xED, 0xB0});                               //         LDIR
    c.Op({0xEB});                                     //         EX DE,HL
    c.Op({0x0E, kScreenColumns - area.columns});      //         LD C,40-COLUMNS
    c.Op({0x09});                                     //         ADD HL,BC      ; the next row
    c.Op({0xEB});                                     //         EX DE,HL
    c.Op({0x3D});                                     //         DEC A
    c.Jr(0x20, row);                                  //         JR NZ,ROW
    c.Op({0x7A});                                     //         LD A,D
    c.Op({0xFE, kColourVram >> 8});                   //         CP 0D8H        ; still in the text VRAM?
    c.OpWord(0x11, textArea + kColourOffset);         //         LD DE,CAREA    ; then the attributes
    c.Jr(0x38, plane);                                //         JR C,PLANE
    c.Jr(0x18, waits);                                //         JR WAITS
    return c.bytes;
}

}  // namespace

int ShortestAnimationDelay()
{
    Area area;
    if (!FrameArea(area)) return 0;
    const int64_t states = PeriodStates(area.columns, area.rows, 1, 1);
    return static_cast<int>((states * 1000 + kZ80ClockHz - 1) / kZ80ClockHz);
}

AnimationRefusal AnimationMzfImage(const std::string& name, int delayMs, bool clearMarks, std::string& mzf)
{
    Area area;
    if (!FrameArea(area)) return AnimationRefusal::NoFrames;
    if (delayMs > kLongestAnimationDelay) return AnimationRefusal::DelayTooLong;
    if (delayMs < ShortestAnimationDelay()) return AnimationRefusal::DelayTooShort;
    const DelayCounts counts = CountsFor(area, delayMs);

    // Each frame's picture, codes then attributes, in the player's order.
    const std::string screen = VramImage(clearMarks);
    std::string pictures;
    for (int k = 0; k < kFrameCount; ++k) {
        if (!FrameDefined(k)) continue;
        const Frame& f = gFrames[k];
        for (int plane = 0; plane < 2; ++plane)
            for (int i = 0; i < area.rows; ++i)
                for (int j = 0; j < area.columns; ++j) {
                    const bool inside = j <= f.right - f.left && i <= f.bottom - f.top;
                    pictures += inside ? screen[plane * kCellCount + CellIndex(f.left + j, f.top + i)]
                                       : plane ? kBlankAttr : kBlankCode;
                }
    }
    const uint16_t at = kLoadAddress + kProgramBytes, frames = at + 2 * kCellCount;
    mzf = MzfFile(name, Program(at, frames, static_cast<uint16_t>(frames + pictures.size()), area, counts) + screen +
                            pictures);
    return AnimationRefusal::None;
}

// The program, the screen and nine frames of the whole screen fit in the
// free memory from 1200H to the text VRAM at D000H with room to spare: no
// animation is too large for the machine.
static_assert(kLoadAddress + kProgramBytes + (1 + kFrameCount) * 2 * kCellCount <= kTextVram, "the largest fits");
