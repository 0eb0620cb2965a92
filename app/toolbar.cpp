#include "app/toolbar.h"

#include "res/resource.h"

namespace {
constexpr ToolbarKind kGroup = ToolbarKind::Group;
}

const ToolbarButton kToolbarButtons[kToolbarButtonCount] = {
    {0, IDT_SELECT, kGroup}, {1, IDT_PEN, kGroup},  {2, IDT_FILL, kGroup}, {21, IDT_MARK, kGroup},
    {-1, 0, ToolbarKind::Separator},                 {3, IDT_SAVE, ToolbarKind::Button},
    {-1, 0, ToolbarKind::Separator},
    {4, IDT_FG0, kGroup},  {5, IDT_FG1, kGroup},   {6, IDT_FG2, kGroup},   {7, IDT_FG3, kGroup},
    {8, IDT_FG4, kGroup},  {9, IDT_FG5, kGroup},   {10, IDT_FG6, kGroup},  {11, IDT_FG7, kGroup},
    {12, IDT_SWAP, ToolbarKind::Button},
    {13, IDT_BG0, kGroup}, {14, IDT_BG1, kGroup},  {15, IDT_BG2, kGroup},  {16, IDT_BG3, kGroup},
    {17, IDT_BG4, kGroup}, {18, IDT_BG5, kGroup},  {19, IDT_BG6, kGroup},  {20, IDT_BG7, kGroup},
};
