#include "screen/fill.h"

#include <cstdint>
#include <cstring>

#include "screen/document.h"
#include "screen/screen.h"
#include "screen/undo.h"

namespace {

constexpr int kSpanStackSize = 1024;
constexpr int kSubColumns = 2 * kScreenColumns;
constexpr int kSubRows = 2 * kScreenRows;

// Spans of one row still to fill, most recent last.
template <typename T>
struct SpanStack {
    T left[kSpanStackSize];
    T right[kSpanStackSize];
    T row[kSpanStackSize];
    int count = 0;

    // False when the stack has just become full.
    bool Push(int l, int r, int y)
    {
        left[count] = static_cast<T>(l);
        right[count] = static_cast<T>(r);
        row[count] = static_cast<T>(y);
        return ++count < kSpanStackSize;
    }
    void Pop(int& l, int& r, int& y)
    {
        --count;
        l = left[count];
        r = right[count];
        y = row[count];
    }
};

// The span of `row` around column i over which `inside` holds, within
// 0..last.
template <typename Inside>
void Extend(int i, int row, int last, Inside inside, int& l, int& r)
{
    for (l = i; l > 0 && inside(l - 1, row);) --l;
    for (r = i; r < last && inside(r + 1, row);) ++r;
}

// Pushes the spans of `row` that touch columns l..r. False when the stack
// filled up.
template <typename Stack, typename Inside>
bool ScanRow(Stack& stack, int l, int r, int row, int last, Inside inside)
{
    for (int i = l; i <= r;) {
        if (!inside(i, row)) {
            ++i;
            continue;
        }
        int hl, hr;
        Extend(i, row, last, inside, hl, hr);
        if (!stack.Push(hl, hr, row)) return false;
        i = i < hr ? hr + 2 : i + 1;
    }
    return true;
}

int SubBlockBit(int sx, int sy) { return 1 << ((sx & 1) + 2 * (sy & 1)); }
int SubBlockCell(int sx, int sy) { return CellIndex(sx / 2, sy / 2); }

}  // namespace

void FillCells(int x, int y, int code, int attr)
{
    const int i0 = CellIndex(x, y);
    const int oldCode = gDoc.screen.code[i0], oldAttr = gDoc.screen.attr[i0];
    if (oldCode == code && oldAttr == attr) return;
    auto matches = [&](int cx, int cy) { return CellEquals(cx, cy, oldCode, oldAttr); };
    SpanStack<int32_t> stack;
    int l, r;
    Extend(x, y, kScreenColumns - 1, matches, l, r);
    stack.Push(l, r, y);
    BeginUndoGroup();
    while (stack.count > 0) {
        int row;
        stack.Pop(l, r, row);
        for (int i = l; i <= r; ++i) SetCell(i, row, code, attr);
        // A full stack ends the fill where it is; what is set stays set.
        if (row > 0 && !ScanRow(stack, l, r, row - 1, kScreenColumns - 1, matches)) return;
        if (row < kScreenRows - 1 && !ScanRow(stack, l, r, row + 1, kScreenColumns - 1, matches)) return;
    }
}

void FillSubBlocks(int sx, int sy, int attr)
{
    int32_t work[kCellCount];
    std::memcpy(work, gDoc.screen.code, sizeof work);
    auto fillable = [&](int x, int y) {
        const int v = work[SubBlockCell(x, y)];
        return v == 0 || (IsSemigraphic(v) && !(v & SubBlockBit(x, y)));
    };
    if (!fillable(sx, sy)) return;
    SpanStack<int8_t> stack;
    int l, r;
    Extend(sx, sy, kSubColumns - 1, fillable, l, r);
    stack.Push(l, r, sy);
    while (stack.count > 0) {
        int row;
        stack.Pop(l, r, row);
        for (int i = l; i <= r; ++i) work[SubBlockCell(i, row)] |= kSemigraphicBase | SubBlockBit(i, row);
        // A full stack abandons the whole fill: the screen stays as it was.
        if (row > 0 && !ScanRow(stack, l, r, row - 1, kSubColumns - 1, fillable)) return;
        if (row < kSubRows - 1 && !ScanRow(stack, l, r, row + 1, kSubColumns - 1, fillable)) return;
    }
    BeginUndoGroup();
    for (int y = 0; y < kScreenRows; ++y)
        for (int x = 0; x < kScreenColumns; ++x)
            if (work[CellIndex(x, y)] != gDoc.screen.code[CellIndex(x, y)]) SetCell(x, y, work[CellIndex(x, y)], attr);
}
