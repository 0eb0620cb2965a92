// Start-up, the main window and its lifecycle, the toolbar and status bar.
#include "shell/window_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/edit_commands.h"
#include "app/pointer.h"
#include "app/toolbar.h"
#include "render/font.h"
#include "render/overlay.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/host.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/selection.h"
#include "screen/undo.h"
#include "shell/base/language_win32.h"
#include "shell/base/modal_win32.h"
#include "shell/base/shell_win32.h"
#include "shell/base/text_win32.h"
#include "shell/clipboard_win32.h"
#include "shell/commands_win32.h"
#include "shell/document_win32.h"
#include "shell/export_win32.h"
#include "shell/input_win32.h"
#include "shell/overlay_win32.h"
#include "shell/panel_win32.h"
#include "shell/player_win32.h"
#include "shell/recovery_win32.h"
#include "shell/settings_win32.h"

Shell gShell;
const wchar_t kMainWindowClass[] = L"Vexa Window";

namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr int kInitialWidth = 320;
constexpr int kInitialHeight = 200;
constexpr size_t kArgumentLimit = 260;
constexpr int kHintPart = 2;  // after the two parts the mouse writes
const char kFontFile[] = "mz700fon.dat";  // beside the program


int Height(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

void CreateToolbar()
{
    TBBUTTON buttons[kToolbarButtonCount] = {};
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        const ToolbarButton& b = kToolbarButtons[i];
        buttons[i].iBitmap = b.image < 0 ? 0 : b.image;
        buttons[i].idCommand = b.command;
        buttons[i].fsStyle = b.kind == ToolbarKind::Separator ? TBSTYLE_SEP
                             : b.kind == ToolbarKind::Button  ? TBSTYLE_BUTTON
                                                              : TBSTYLE_CHECKGROUP;
        buttons[i].fsState = TBSTATE_ENABLED;
        if (b.command == IDT_PEN || b.command == IDT_FG7 || b.command == IDT_BG1) buttons[i].fsState |= TBSTATE_CHECKED;
    }
    gShell.toolbar = CreateToolbarEx(gShell.main, WS_CHILD | WS_VISIBLE, IDC_TOOLBAR, TOOLBAR_IMAGE_COUNT,
                                     gShell.instance, IDB_TOOLBAR, buttons, kToolbarButtonCount, 0, 0, 0, 0,
                                     sizeof(TBBUTTON));
    // The buttons show the Pen's starting colours.
    gPen.foreground = kInitialForeground;
    gPen.background = kInitialBackground;
    gShell.Tb = gShell.toolbar ? Height(gShell.toolbar) : 0;
}

constexpr int kStatusChars = 64;

void SetStatusText(int part, const std::wstring& text)
{
    if (gShell.statusBar) SendMessageW(gShell.statusBar, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusString(const StatusText& t)
{
    if (!t.format) return std::wstring();
    wchar_t text[kStatusChars];
    swprintf(text, kStatusChars, LoadText(t.format).c_str(), t.values[0], t.values[1]);
    return text;
}

// The widest a status format gets, in the bar's own font: every digit in
// every place, the numbers being `count` repeated digits (11, 22, ... or
// 0x11, 0x22, ...) `step` apart.
int WidestStatusText(HDC dc, int format, int step, int count)
{
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        const std::wstring text = StatusString({format, {i * step, i * step}});
        SIZE size;
        if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size))
            widest = std::max(widest, static_cast<int>(size.cx));
    }
    return widest;
}

// Parts 0 and 1 are as wide as their longest texts need, and never narrower
// than 80 and 120 pixels.
void SizeStatusParts()
{
    constexpr int kLeastWidths[2] = {80, 120};
    constexpr int kTextMargin = 16;  // borders and the inset the bar draws text at
    HDC dc = GetDC(gShell.statusBar);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(gShell.statusBar, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    const int cell =
        std::max(WidestStatusText(dc, IDS_STATUS_CELL, 11, 10), WidestStatusText(dc, IDS_STATUS_SIZE, 11, 10));
    const int chr = WidestStatusText(dc, IDS_STATUS_CHR, 0x11, 16);
    SelectObject(dc, old);
    ReleaseDC(gShell.statusBar, dc);
    int parts[3];
    parts[0] = std::max(kLeastWidths[0], cell + kTextMargin);
    parts[1] = parts[0] + std::max(kLeastWidths[1], chr + kTextMargin);
    parts[2] = -1;
    SendMessageW(gShell.statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

void CreateStatusBar()
{
    gShell.statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD, 0, 0, 0, 0, gShell.main,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUSBAR)),
                                       gShell.instance, nullptr);
    SizeStatusParts();
    ShowWindow(gShell.statusBar, SW_SHOW);
    gShell.Sb = Height(gShell.statusBar);
    ShowWindow(gShell.statusBar, gView.ShowStatusBar ? SW_SHOW : SW_HIDE);
}

// Deletes the zoom items that do not fit the screen, in every menu.
void DeleteZoomItems(HMENU menu, int fitting)
{
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        HMENU sub = GetSubMenu(menu, i);
        if (sub) {
            DeleteZoomItems(sub, fitting);
            continue;
        }
        const int id = static_cast<int>(GetMenuItemID(menu, i));
        if (id >= IDM_ZOOM1 + fitting && id <= IDM_ZOOM8) DeleteMenu(menu, i, MF_BYPOSITION);
    }
}

void PruneZoomMenu()
{
    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES);
    const int height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    RECT r;
    GetWindowRect(gShell.main, &r);
    const int dw = (r.right - r.left) - kInitialWidth;
    const int dh = (r.bottom - r.top) - kInitialHeight;
    int fitting = 0;
    while (fitting < kZoomLevels && ViewForZoom(fitting).W + dw <= width && ViewForZoom(fitting).H + dh <= height)
        ++fitting;
    // A stored zoom the screen cannot show falls back to the largest that fits.
    if (fitting > 0 && gView.Zoom >= fitting) gView.Zoom = fitting - 1;
    if (fitting > 1 && gView.ZoomRatio >= fitting) gView.ZoomRatio = fitting - 1;
    gShell.zoomLevels = fitting;
    DeleteZoomItems(GetMenu(gShell.main), fitting);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        gShell.main = hwnd;  // check marks follow the settings at every menu refresh
        gShell.orangeBrush = CreateSolidBrush(RGB(255, 128, 0));
        ShowWindow(hwnd, SW_SHOW);
        DragAcceptFiles(hwnd, TRUE);
        return 0;
    case WM_SIZE:
        if (gShell.toolbar) SendMessageW(gShell.toolbar, WM_SIZE, wParam, lParam);
        if (gShell.statusBar) SendMessageW(gShell.statusBar, WM_SIZE, wParam, lParam);
        break;
    case WM_PAINT:
        PaintWindow(hwnd);
        return 0;
    case WM_CLOSE:
        if (!DiscardPrompt(hwnd)) return 0;
        break;
    case WM_QUERYENDSESSION:  // logging off must not lose the picture either
        return DiscardPrompt(hwnd) ? TRUE : FALSE;
    case WM_DESTROY:
        DeleteObject(gShell.orangeBrush);
        gShell.orangeBrush = nullptr;
        DropAndDeselect();  // also stops the marquee's timer
        PostQuitMessage(0);
        return 0;
    case WM_TIMER:
        if (StepMarquee(wParam) || StepRecovery(wParam)) return 0;
        break;
    case WM_INITMENUPOPUP:
        RefreshMenu(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_COMMAND:
        if (HandleCommand(LOWORD(wParam))) return 0;
        break;
    case WM_DROPFILES:
        HandleDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    default: {
        bool handled = false;
        const LRESULT result = HandleInput(hwnd, message, wParam, lParam, handled);
        if (handled) return result;
        break;
    }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The core reaches the window through these.
void ConnectHost()
{
    Host host;
    ConnectCanvasView(host);
    host.invalidateCanvas = InvalidateCanvas;
    host.modifiedChanged = OnModifiedStateChanged;
    host.penChanged = OnPenChanged;
    host.toolChanged = OnToolChanged;
    host.selectionChanged = OnSelectionChanged;
    host.putClipboardText = PutClipboardText;
    host.getClipboardText = GetClipboardText;
    host.putClipboardImage = PutClipboardImage;
    host.samePath = SamePathOnThisSystem;
    host.rebuildView = [] { return RebuildView(gShell.main); };
    host.redrawPanel = DrawPanel;
    host.redrawOverlay = RedrawOverlay;
    gHost = host;
}

void ResetEditorState()
{
    ResetEditing();  // before the window exists: its first paint outlines the frames
    ReleaseOverlay();
    gDocumentFile = DocumentFile{L"", L"", 0};
}

}  // namespace

void ResizeToLayout()
{
    const ViewGeometry& g = CurrentView();
    RECT r = {0, 0, g.W, g.H + gShell.Tb + (gView.ShowStatusBar ? gShell.Sb : 0)};
    const int wantedHeight = r.bottom;
    AdjustWindowRect(&r, kMainStyle, TRUE);
    SetWindowPos(gShell.main, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps onto a second line (narrow zooms, wide fonts)
    // takes client height the rule does not count: give it back.
    RECT client;
    GetClientRect(gShell.main, &client);
    if (client.bottom != wantedHeight)
        SetWindowPos(gShell.main, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + wantedHeight - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PressButton(int id)
{
    if (gShell.toolbar) SendMessageW(gShell.toolbar, TB_CHECKBUTTON, id, 1);
}

void ShowStatus(int part, const StatusText& text)
{
    gShell.status[part] = text;
    SetStatusText(part, StatusString(text));
}

void RefreshStatusHint()
{
    const int hint = TransparencyHint();
    if (hint == gShell.statusHint) return;
    gShell.statusHint = hint;
    SetStatusText(kHintPart, hint ? LoadText(hint) : std::wstring());
}

void ApplyLanguage()
{
    HMENU old = GetMenu(gShell.main);
    SetMenu(gShell.main, LoadInterfaceMenu());
    if (old) DestroyMenu(old);
    DeleteZoomItems(GetMenu(gShell.main), gShell.zoomLevels);
    DrawMenuBar(gShell.main);
    SizeStatusParts();
    for (int part = 0; part < kStatusParts; ++part) ShowStatus(part, gShell.status[part]);
    gShell.statusHint = 0;
    SetStatusText(kHintPart, std::wstring());
    RefreshStatusHint();
    RefreshTitle(IsModified());
    ResizeToLayout();  // the menu bar may take another number of lines
}

bool StartUp(HINSTANCE instance, const wchar_t* commandLine, int show)
{
    gShell = Shell{};
    gShell.instance = instance;
    ConnectHost();
    ResetEditorState();
    InitCommonControls();

    std::wstring argument;
    if (FirstArgument(commandLine ? commandLine : L"", argument, kArgumentLimit)) {
        wchar_t full[MAX_PATH];
        const DWORD n = GetFullPathNameW(argument.c_str(), MAX_PATH, full, nullptr);
        if (n > 0 && n < MAX_PATH) SetDocumentPath(full);
    }

    std::vector<wchar_t> self(32768);
    if (GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())) &&
        PathRemoveFileSpecW(self.data()))
        SetCurrentDirectoryW(self.data());

    LoadSettings();
    gCanvas.markColour = kMarkPurple;
    if (!LoadFont(kFontFile)) {
        ShowMessage(nullptr, LoadText(IDS_NO_FONT), LoadText(IDS_PLAIN_ERROR), MB_OK);
        return false;
    }

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, L"myIcon");
    wc.hIconSm = LoadIconW(instance, L"myIconS");
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
    wc.lpszMenuName = L"VexaMenu";
    wc.lpszClassName = kMainWindowClass;
    RegisterClassExW(&wc);  // already there when started again in-process
    // The class names the menu; the window takes it in the interface's language.
    if (!CreateWindowExW(0, kMainWindowClass, L"Vexa", kMainStyle, CW_USEDEFAULT, CW_USEDEFAULT, kInitialWidth,
                         kInitialHeight, nullptr, LoadInterfaceMenu(), instance, nullptr))
        return false;

    PruneZoomMenu();
    gShell.accelerators = LoadAcceleratorsW(instance, L"myAccel");
    if (!CreateHistory()) {
        DestroyWindow(gShell.main);
        return false;
    }
    if (!RebuildView(gShell.main)) {
        ShowMessage(nullptr, LoadText(IDS_NO_VIEW_MEMORY), LoadText(IDS_PLAIN_ERROR), MB_OK);
        DestroyWindow(gShell.main);
        DestroyHistory();
        return false;
    }
    RedrawCanvas();
    CreateToolbar();
    CreateStatusBar();
    ResizeToLayout();
    if (gShell.toolbar)
        SetWindowPos(gShell.toolbar, nullptr, 0, 0, CurrentView().W, gShell.Tb,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!gDocumentFile.path.empty()) {
        gDocumentFile.fileType = kBriselFileType;
        Load();
    }
    StartRecovery();
    ShowWindow(gShell.main, show);
    UpdateWindow(gShell.main);
    OfferRecovery();
    gShell.labelFont = CreateLabelFont();
    return true;
}

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(gShell.main, gShell.accelerators, &msg)) continue;
        if (PlayerWindow() && IsDialogMessageW(PlayerWindow(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void ShutDown()
{
    StopRecovery();  // a clean exit leaves no copy behind
    if (gShell.labelFont) DeleteObject(gShell.labelFont);
    gShell.labelFont = nullptr;
    FreeViewBuffers();
    DestroyHistory();
    ReleaseOverlay();
    SaveSettings();
    gShell.main = gShell.toolbar = gShell.statusBar = nullptr;
}
