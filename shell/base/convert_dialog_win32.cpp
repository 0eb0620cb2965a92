#include "shell/base/convert_dialog_win32.h"

#include <algorithm>
#include <vector>

#include "render/font.h"
#include "render/view.h"
#include "res/resource.h"
#include "shell/base/dialog_win32.h"
#include "shell/base/language_win32.h"

namespace {

constexpr int kPreviewWidth = kCanvasWidthAt1, kPreviewHeight = kCanvasHeightAt1;

struct Session {
    const OverlayPicture* picture;
    ConvertChoice choice;
    std::vector<uint32_t> preview;  // bottom-up, as the rasteriser writes
};

int Checked(HWND dialog, int first, int last)
{
    for (int id = first; id <= last; ++id)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) return id - first;
    return 0;
}

void ReadChoice(HWND dialog, ConvertChoice& c)
{
    c.options.mode = static_cast<ConvertMode>(Checked(dialog, IDC_CONVERT_BLOCKS, IDC_CONVERT_CHARS));
    c.options.fit = static_cast<ConvertFit>(Checked(dialog, IDC_CONVERT_FIT, IDC_CONVERT_STRETCH));
    c.options.dither = static_cast<ConvertDither>(Checked(dialog, IDC_CONVERT_NODITHER, IDC_CONVERT_GRAIN));
    c.asOverlay = IsDlgButtonChecked(dialog, IDC_CONVERT_OVERLAY) == BST_CHECKED;
}

// The screen the choice makes, drawn as the canvas draws it at x1.
void Preview(Session& s)
{
    ConvertedScreen screen;
    ConvertPicture(s.picture->pixels.data(), s.picture->width, s.picture->height, s.choice.options, screen);
    s.preview.assign(static_cast<size_t>(kPreviewWidth) * kPreviewHeight, 0);
    const PixelView view = {s.preview.data(), kPreviewWidth, kPreviewHeight};
    for (int i = 0; i < kCellCount; ++i)
        DrawPlainGlyph(view, (i % kScreenColumns) * kCellPixels, (i / kScreenColumns) * kCellPixels, screen.code[i],
                       screen.attr[i], 1);
}

// The preview takes exactly 320 x 200 pixels; what lies below it moves down
// by what it grew, and the dialog grows to hold everything.
void MakeRoomForPreview(HWND dialog)
{
    HWND preview = GetDlgItem(dialog, IDC_CONVERT_PREVIEW);
    RECT r;
    GetWindowRect(preview, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const int grow = kPreviewHeight - (r.bottom - r.top);
    MoveWindow(preview, r.left, r.top, kPreviewWidth, kPreviewHeight, FALSE);
    RECT client;
    GetClientRect(dialog, &client);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == preview) continue;
        RECT c;
        GetWindowRect(child, &c);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c), 2);
        MoveWindow(child, c.left, c.top + grow, c.right - c.left, c.bottom - c.top, FALSE);
    }
    RECT frame;
    GetWindowRect(dialog, &frame);
    const int wider = std::max(0, static_cast<int>(r.left + kPreviewWidth + r.left - client.right));
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left + wider, frame.bottom - frame.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER);
}

INT_PTR CALLBACK ConvertProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    Session* s = reinterpret_cast<Session*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        s = reinterpret_cast<Session*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const ConvertOptions& o = s->choice.options;
        CheckRadioButton(dialog, IDC_CONVERT_BLOCKS, IDC_CONVERT_CHARS, IDC_CONVERT_BLOCKS + static_cast<int>(o.mode));
        CheckRadioButton(dialog, IDC_CONVERT_FIT, IDC_CONVERT_STRETCH, IDC_CONVERT_FIT + static_cast<int>(o.fit));
        CheckRadioButton(dialog, IDC_CONVERT_NODITHER, IDC_CONVERT_GRAIN, IDC_CONVERT_NODITHER + static_cast<int>(o.dither));
        CheckDlgButton(dialog, IDC_CONVERT_OVERLAY, s->choice.asOverlay ? BST_CHECKED : BST_UNCHECKED);
        MakeRoomForPreview(dialog);
        CentreOnDesktop(dialog);
        Preview(*s);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_CONVERT_PREVIEW) return FALSE;
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kPreviewWidth, kPreviewHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(item->hDC, item->rcItem.left, item->rcItem.top, kPreviewWidth, kPreviewHeight, 0, 0, 0,
                          kPreviewHeight, s->preview.data(), &info, DIB_RGB_COLORS);
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            ReadChoice(dialog, s->choice);
            EndDialog(dialog, id);
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED && id >= IDC_CONVERT_BLOCKS && id <= IDC_CONVERT_GRAIN) {
            ReadChoice(dialog, s->choice);
            Preview(*s);
            InvalidateRect(GetDlgItem(dialog, IDC_CONVERT_PREVIEW), nullptr, FALSE);
            return TRUE;
        }
        return FALSE;
    }
    default: return FALSE;
    }
}

}  // namespace

bool RunConvertDialog(HWND owner, const OverlayPicture& picture, ConvertChoice& choice)
{
    Session session = {&picture, choice, {}};
    if (InterfaceDialogBox(IDD_CONVERT, owner, ConvertProc, reinterpret_cast<LPARAM>(&session)) != IDOK)
        return false;
    choice = session.choice;
    return true;
}
