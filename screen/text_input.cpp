#include "screen/text_input.h"

#include <algorithm>
#include <cstring>

#include "screen/document.h"
#include "screen/host.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/text_tables.h"

TextInput gTextInput;

namespace {

constexpr int kLastTextColumn = kScreenColumns - 2;  // a horizontal line holds columns 0-38
constexpr int kVerticalStart = kScreenColumns - 2;   // vertical lines are two cells wide, from the right
constexpr uint8_t kCarriageReturn = 0x0D;

// Bytes outside the two single-byte tables open a two-byte character.
bool IsLeadByte(uint8_t b)
{
    return b >= 0x7F && !(b >= HalfKanaTableFirst && b < HalfKanaTableFirst + HalfKanaTableSize);
}

// The cells laid so far and the cursor that lays them.
struct Layout {
    int32_t code[kCellCount];
    int32_t attr[kCellCount];
    bool vertical = false;
    int colours = 0;
    int column = 0, row = 0, width = 0, height = 0;
    int placed = 0;

    void Put(int r, int c, int code8, bool secondSet)
    {
        code[BlockIndex(c, r)] = code8;
        attr[BlockIndex(c, r)] = (secondSet ? kAttrCharSet : 0) | colours;
    }

    // A new horizontal line; false when the screen has no row left.
    bool NextRow()
    {
        column = 0;
        if (++row > kScreenRows - 1) return false;
        ++height;
        return true;
    }
    // A new vertical line, left of the last; false when none is left.
    bool NextColumn()
    {
        row = 0;
        column -= 2;
        if (column < 0) return false;
        width += 2;
        return true;
    }
    bool AdvanceRight()
    {
        ++column;
        width = std::max(width, column);
        return column <= kLastTextColumn || NextRow();
    }
    bool AdvanceDown()
    {
        ++row;
        height = std::max(height, row);
        return row <= kScreenRows - 1 || NextColumn();
    }

    // One character and its mark; false when there is no room for more.
    bool Place(uint32_t entry)
    {
        const bool secondSet = (entry & TEXT_SECOND_SET) != 0;
        const int mark = entry & TEXT_VOICED ? VoicedMarkCode : entry & TEXT_SEMI_VOICED ? SemiVoicedMarkCode : 0;
        // A kana and its mark stay together: with one cell left on the line
        // both go to the next.
        if (!vertical && mark && column == kLastTextColumn && !NextRow()) return false;
        const int r = row, c = column;
        Put(r, c, entry & TEXT_CODE_MASK, secondSet);
        ++placed;
        if (!vertical && !AdvanceRight()) return false;
        if (mark) {
            Put(r, c + 1, mark, secondSet);
            if (!vertical && !AdvanceRight()) return false;
        }
        return vertical ? AdvanceDown() : true;
    }

    void Lay(const char* text)
    {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(text);
        while (*p) {
            const uint8_t b = *p++;
            uint32_t entry;
            if (b == kCarriageReturn) {
                if (!(vertical ? NextColumn() : NextRow())) return;
                continue;
            }
            if (b < SingleByteTableFirst) continue;  // line feeds and other controls
            if (IsLeadByte(b)) {
                if (!*p) return;  // a lead byte cut off at the end stands for nothing
                entry = LookupDoubleByte(b, *p++);
            } else {
                entry = LookupSingleByte(b);
            }
            if (!Place(entry)) return;
        }
    }
};

}  // namespace

void ResetTextInput() { gTextInput = TextInput{}; }

void KeepText(const std::string& shiftJis, bool vertical)
{
    size_t n = 0;
    while (n < shiftJis.size() && shiftJis[n] != '\0') {
        const size_t step = IsLeadByte(static_cast<uint8_t>(shiftJis[n])) ? 2 : 1;
        if (n + step > kTextBufferSize - 1) break;
        n += step;
    }
    n = std::min(n, shiftJis.size());
    std::memcpy(gTextInput.text, shiftJis.data(), n);
    gTextInput.text[n] = '\0';
    gTextInput.vertical = vertical;
}

bool ConvertText()
{
    Layout layout;
    layout.vertical = gTextInput.vertical;
    layout.colours = (gPen.foreground << 4) | gPen.background;
    for (int i = 0; i < kCellCount; ++i) layout.Put(i / kBlockStride, i % kBlockStride, 0, false);
    if (layout.vertical) {
        layout.column = kVerticalStart;
        layout.width = 2;
    } else {
        layout.height = 1;
    }
    layout.Lay(gTextInput.text);
    if (layout.placed == 0) return false;

    std::memcpy(gDoc.block.code, layout.code, sizeof gDoc.block.code);
    std::memcpy(gDoc.block.attr, layout.attr, sizeof gDoc.block.attr);
    // Vertical lines were laid from the right edge: move them to the left.
    if (layout.vertical)
        for (int r = 0; r < layout.height; ++r)
            for (int c = 0; c < layout.width; ++c) {
                gDoc.block.code[BlockIndex(c, r)] = layout.code[BlockIndex(c + kScreenColumns - layout.width, r)];
                gDoc.block.attr[BlockIndex(c, r)] = layout.attr[BlockIndex(c + kScreenColumns - layout.width, r)];
            }
    SetSelection(1, 1, layout.width, layout.height);
    gDoc.block.state = kFloatingNew;
    gHost.blockChanged();
    return true;
}
