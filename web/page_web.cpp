// The functions the page's scripts call: each turns a browser event into the
// core call the Win32 shell makes for the same event, and hands the answer
// back. Strings and bytes come back through gReturned.
#include <emscripten.h>

#include <cstring>
#include <string>
#include <vector>

#include "anim/animated_gif.h"
#include "anim/frames.h"
#include "app/commands.h"
#include "app/document_files.h"
#include "app/edit_commands.h"
#include "app/keys.h"
#include "app/pointer.h"
#include "app/toolbar.h"
#include "app/settings.h"
#include "io/exports.h"
#include "io/frames_file.h"
#include "io/picture_file.h"
#include "io/recovery.h"
#include "io/screen_file.h"
#include "io/title.h"
#include "render/font.h"
#include "render/overlay.h"
#include "render/palette_view.h"
#include "render/picture_convert.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/host.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/strokes.h"
#include "screen/text_input.h"
#include "screen/undo.h"
#include "web/web.h"

#define PAGE_CALL extern "C" EMSCRIPTEN_KEEPALIVE

namespace {

const char kFontFile[] = "mz700fon.dat";  // embedded in the module

std::string gReturned;  // the last string or bytes handed to the page
std::vector<uint8_t> gPrepared;  // a picture file as the decoder may see it
PointerAnswer gPointer;
OverlayPicture gPicture;      // decoded by the browser, not yet placed
std::vector<uint32_t> gImage;  // the block as a picture, R, G, B, A bytes
std::vector<uint32_t> gPreview;
std::vector<uint32_t> gPlayerPixels;
RecoveredSession gRecovered;

uint32_t Rgba(uint32_t rgb) { return 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

const char* Return(std::string text)
{
    gReturned = std::move(text);
    return gReturned.c_str();
}

// A bottom-up view's top-left w x h pixels at (x, y) as R, G, B, A bytes.
void TakeRgba(const PixelView& v, int x, int y, int w, int h, std::vector<uint32_t>& out)
{
    out.assign(static_cast<size_t>(w) * h, 0);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) out[static_cast<size_t>(r) * w + c] = Rgba(*PixelAt(v, x + c, y + r));
}

// The page knows the asks by name; a new one fails this switch's build
// until it is named here too. Any other number has none.
const char* AskName(Ask ask)
{
    switch (ask) {
    case Ask::Nothing: return "Nothing";
    case Ask::OpenFile: return "OpenFile";
    case Ask::SaveFile: return "SaveFile";
    case Ask::SaveFileAs: return "SaveFileAs";
    case Ask::Export: return "Export";
    case Ask::ConvertPicture: return "ConvertPicture";
    case Ask::OverlayFile: return "OverlayFile";
    case Ask::Text: return "Text";
    case Ask::OpenRecent: return "OpenRecent";
    case Ask::Close: return "Close";
    case Ask::Player: return "Player";
    case Ask::About: return "About";
    case Ask::NoMemoryForView: return "NoMemoryForView";
    case Ask::ExportAnimation: return "ExportAnimation";
    case Ask::SaveFrames: return "SaveFrames";
    case Ask::LoadFrames: return "LoadFrames";
    case Ask::DamagedFrames: return "DamagedFrames";
    }
    return nullptr;
}

const int32_t* AnswerOut(const CommandAnswer& a)
{
    static int32_t out[3];
    if (a.repaintPanel) InvalidateArea({0, 0, CurrentView().W, CurrentView().H});
    if (a.repaintPalette) InvalidateArea(PaletteInvalidRect(0));
    out[0] = static_cast<int32_t>(a.ask);
    out[1] = a.detail;
    out[2] = a.repaintPanel | a.repaintPalette << 1 | a.relayout << 2 | a.relanguage << 3;
    return out;
}

void ConnectHost()
{
    Host host;
    ConnectCanvasView(host);
    host.invalidateCanvas = InvalidateWebCanvas;
    host.modifiedChanged = [](bool modified) { NotifyPage(PageNotice::Modified, modified); };
    host.penChanged = [](PenChange change) {
        if (change == PenChange::Colours) NotifyPage(PageNotice::Colours);
        if (change != PenChange::Cursor) DrawPalette();
        InvalidateArea(PaletteInvalidRect(0));
    };
    host.toolChanged = [](int tool) { NotifyPage(PageNotice::Tool, tool); };
    host.selectionChanged = [](bool active) {
        NotifyPage(PageNotice::Selection, active);
        InvalidateWebCanvas();
    };
    host.rebuildView = RebuildWebView;
    host.redrawPanel = DrawWebPanel;
    host.redrawOverlay = RedrawWebOverlay;
    host.putClipboardText = [](const std::string& text) {
        gWebClipboard = {true, text};
        NotifyPage(PageNotice::ClipboardText);
        return true;
    };
    host.getClipboardText = [](std::string& text) {
        text = gWebClipboard.text.substr(0, kClipboardTextLimit);
        return gWebClipboard.hasText;
    };
    host.putClipboardImage = [](int width, int height) {
        if (width <= 0 || height <= 0 || !gCanvas.pixels.pixels) return;
        TakeRgba(gCanvas.pixels, 0, CurrentView().H, width, height, gImage);
        NotifyPage(PageNotice::ClipboardImage, width << 16 | height);
    };
    gHost = host;
}

}  // namespace

EM_JS(void, NotifyPageJs, (int notice, int arg), { Module.notify(notice, arg); });
void NotifyPage(PageNotice notice, int arg) { NotifyPageJs(static_cast<int>(notice), arg); }

// Start-up as the Win32 shell's: settings (already handed over), the font,
// the history and the view. 0 when the page can run; 1 no font; 2 no memory.
PAGE_CALL int vexa_start()
{
    ConnectHost();
    ResetEditing();
    ReleaseOverlay();
    gCanvas.markColour = kMarkPurple;
    if (!LoadFont(kFontFile)) return 1;
    if (!CreateHistory()) return 2;
    if (!RebuildWebView()) return 2;
    RedrawCanvas();
    gPen.foreground = kInitialForeground;
    gPen.background = kInitialBackground;
    return 0;
}

// --- Settings: "Key=value" lines, kept keys only.
PAGE_CALL void vexa_load_settings(const char* text)
{
    ResetSettings();
    for (const SettingEntry* e = kSettingsTable; e->key; ++e) {
        if (!e->kept) continue;
        const std::string key = std::string("\n") + e->key + "=";
        const std::string all = std::string("\n") + text;
        const size_t at = all.find(key);
        if (at != std::string::npos) *e->value = std::atoi(all.c_str() + at + key.size());
    }
    SanitizeSettings();
    UpdateViewGeometry();
}

// The interface's language: 0 Japanese, 1 English.
PAGE_CALL int vexa_language() { return gInterface.Language; }

PAGE_CALL const char* vexa_settings_text()
{
    std::string text;
    for (const SettingEntry* e = kSettingsTable; e->key; ++e)
        if (e->kept) text += std::string(e->key) + "=" + std::to_string(*e->value) + "\n";
    return Return(text);
}

// --- Drawing.
// The area composed anew: left, top, width, height; null when nothing is.
PAGE_CALL const int32_t* vexa_compose()
{
    static int32_t area[4];
    Rect drawn;
    if (!ComposeShown(drawn)) return nullptr;
    const int32_t values[4] = {drawn.left, drawn.top, drawn.right - drawn.left, drawn.bottom - drawn.top};
    std::memcpy(area, values, sizeof area);
    return area;
}
PAGE_CALL const uint8_t* vexa_shown_pixels() { return ShownPixels(); }
// 0 the panel's width, 1 its height, 2 the canvas's width, 3 its height,
// 4 whether the status bar shows, 5 and 6 the canvas's size at x1.
PAGE_CALL int vexa_view(int what)
{
    const ViewGeometry& g = CurrentView();
    const int values[] = {g.W, g.H, kCanvasWidthAt1 * g.k, kCanvasHeightAt1 * g.k, gView.ShowStatusBar,
                          kCanvasWidthAt1, kCanvasHeightAt1};
    return what >= 0 && what < static_cast<int>(sizeof values / sizeof values[0]) ? values[what] : 0;
}
// The most of a file the editor reads: 0 a screen file, 1 a picture.
PAGE_CALL double vexa_file_limit(int kind) { return static_cast<double>(kind == 0 ? kScreenFileReadLimit : kPictureFileLimit); }
PAGE_CALL int vexa_marquee_period() { return kMarqueePeriodMs; }
PAGE_CALL void vexa_step_marquee()
{
    AdvanceMarquee();
    InvalidateWebCanvas();
}
// Frame k's outline and label in panel coordinates: left, top, right,
// bottom, label x, label y; 0 when frame k is not shown.
PAGE_CALL const int32_t* vexa_frame_outline(int k)
{
    static int32_t out[6];
    if (!gView.ShowFrames || k < 0 || k >= kFrameCount || !FrameDefined(k)) return nullptr;
    const FrameOutline f = FrameOutlineOf(k, 0);
    const int32_t values[6] = {f.outline.left, f.outline.top, f.outline.right, f.outline.bottom, f.label.x, f.label.y};
    std::memcpy(out, values, sizeof out);
    return out;
}

// --- Commands and their menu items.
PAGE_CALL int vexa_is_command(int id) { return IsCommand(id); }
// The name of ask number n, null past the last.
PAGE_CALL const char* vexa_ask_name(int n)
{
    return n >= 0 ? AskName(static_cast<Ask>(n)) : nullptr;
}
// The answer: ask, detail, and flags 1 repaint panel, 2 repaint palette,
// 4 relayout, 8 the interface's language changed.
PAGE_CALL const int32_t* vexa_command(int id) { return AnswerOut(IsCommand(id) ? RunCommand(id) : CommandAnswer{}); }
// Bits: 1 the rule decides enabled, 2 enabled, 4 the rule decides checked,
// 8 checked, 16 a radio item.
PAGE_CALL int vexa_menu_state(int id)
{
    if (!IsCommand(id)) return 0;
    const MenuState m = MenuStateOf(id);
    return (m.enabled ? 1 | (*m.enabled ? 2 : 0) : 0) | (m.checked ? 4 | (*m.checked ? 8 : 0) : 0) | (m.radio ? 16 : 0);
}
// The toolbar's buttons: image, command and kind (0 separator, 1 button,
// 2 one of a group) each.
PAGE_CALL const int32_t* vexa_toolbar()
{
    static int32_t out[kToolbarButtonCount * 3];
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        out[3 * i] = kToolbarButtons[i].image;
        out[3 * i + 1] = kToolbarButtons[i].command;
        out[3 * i + 2] = static_cast<int32_t>(kToolbarButtons[i].kind);
    }
    return out;
}
PAGE_CALL int vexa_toolbar_count() { return kToolbarButtonCount; }
PAGE_CALL int vexa_frame_defined(int k) { return k >= 0 && k < kFrameCount && FrameDefined(k); }
// 0 the foreground, 1 the background, 2 the tool.
PAGE_CALL int vexa_pen(int what)
{
    const int values[] = {gPen.foreground, gPen.background, gTool.tool};
    return what >= 0 && what < 3 ? values[what] : 0;
}

// --- Keys: the command a character or key runs (0 none); a key, named as
// the browser names it, may move the palette cursor instead (-1).
PAGE_CALL int vexa_character(int character) { return CommandForCharacter(character); }
PAGE_CALL int vexa_key(const char* name, int ctrl)
{
    const struct {
        const char* name;
        Key key;
    } kKeys[] = {{"ArrowLeft", Key::Left}, {"ArrowRight", Key::Right}, {"ArrowUp", Key::Up},
                 {"ArrowDown", Key::Down}, {"F9", Key::F9},            {"F11", Key::F11}};
    Key key = Key::Other;
    for (const auto& k : kKeys)
        if (std::strcmp(name, k.name) == 0) key = k.key;
    const int id = CommandForKey(key, ctrl != 0);
    if (id) return id;
    return MovePaletteByKey(key, ctrl != 0) ? -1 : 0;
}

// --- The mouse, panel coordinates. kind: 0 press, 1 move, 2 release,
// 3 right press. Returns the capture: 0 keep, 1 take, 2 release.
PAGE_CALL int vexa_pointer(int kind, int x, int y, int held, int shift, int ctrl)
{
    const Modifiers keys = {shift != 0, ctrl != 0};
    switch (kind) {
    case 0: gPointer = PointerPress(x, y, keys); break;
    case 1: gPointer = PointerMove(x, y, held != 0, keys); break;
    case 2: gPointer = PointerRelease(); break;
    default: gPointer = RightPress(x, y, keys); break;
    }
    if (gPointer.invalidateCanvas) InvalidateWebCanvas();
    return static_cast<int>(gPointer.capture);
}
PAGE_CALL int vexa_pointer_cursor() { return gPointer.cursorZone; }
// The status bar's part `part` when the last report changed it: its
// string-table format (0 for an empty part), else -1; then its numbers.
PAGE_CALL int vexa_pointer_status(int part)
{
    if (part < 0 || part >= kStatusParts || !gPointer.statusChanged[part]) return -1;
    return gPointer.status[part].format;
}
PAGE_CALL int vexa_pointer_status_value(int part, int i)
{
    return part >= 0 && part < kStatusParts && i >= 0 && i < 2 ? gPointer.status[part].values[i] : 0;
}

// --- The document.
PAGE_CALL int vexa_modified() { return IsModified(); }
PAGE_CALL const char* vexa_title(const char* name, const char* untitled)
{
    return Return(BuildTitle(name, IsModified(), untitled));
}
PAGE_CALL int vexa_open(const char* bytes, int size) { return OpenScreenText(bytes, static_cast<size_t>(size)); }
// Refused opening: the next report refreshes the title.
PAGE_CALL void vexa_force_modified_report() { ForceModifiedReport(); }
PAGE_CALL const char* vexa_screen_text() { return Return(ScreenFileText()); }
PAGE_CALL void vexa_mark_saved() { MarkSaved(); }
PAGE_CALL int vexa_returned_size() { return static_cast<int>(gReturned.size()); }

// Format: 0 MZF, 1 assembler, 2 VRAM; the name is the document's file name.
PAGE_CALL const char* vexa_export(int format, const char* fileName)
{
    const std::string name = MzfNameOfFile(fileName);
    const bool clear = gExportChoice.clearMarks;
    switch (static_cast<ExportFormat>(format)) {
    case ExportFormat::Mzf: return Return(MzfImage(name, clear));
    case ExportFormat::Asm: return Return(AssemblerSource(name, clear));
    case ExportFormat::Bin: return Return(VramImage(clear));
    // The frames at the canvas's zoom and the player's speed, as the Win32
    // editor writes them.
    case ExportFormat::Gif: {
        GifAnimation gif;
        std::string bytes;
        if (!AnimationForGif(CurrentView().k, PlayerInterval(), gif) || !EncodeAnimatedGif(gif, bytes)) bytes.clear();
        return Return(bytes);
    }
    default: return Return(std::string());
    }
}
// The frames as an MZF for the document's file name; when it cannot be
// made, no bytes, and vexa_animation_refusal says why: the string ID (0 for
// none) and the delay for its %s.
static int32_t gAnimationRefusal[2];
PAGE_CALL const char* vexa_export_animation(const char* fileName)
{
    const AnimationExport made = MakeAnimationMzf(MzfNameOfFile(fileName));
    gAnimationRefusal[0] = made.refusal;
    gAnimationRefusal[1] = made.delay;
    return Return(made.bytes);
}
PAGE_CALL const int32_t* vexa_animation_refusal() { return gAnimationRefusal; }
// Frames files: the frames' text, and a file's bytes taken whole or not at all.
PAGE_CALL const char* vexa_frames_text() { return Return(FramesFileText(gFrames)); }
PAGE_CALL const int32_t* vexa_accept_frames(const char* bytes, int size)
{
    return AnswerOut(AcceptFramesFile(bytes, static_cast<size_t>(size)));
}
PAGE_CALL const char* vexa_export_extension(int format) { return ExportExtension(static_cast<ExportFormat>(format)); }
// The canvas as a picture at the current zoom, R, G, B, A bytes.
PAGE_CALL const uint32_t* vexa_screen_picture()
{
    static std::vector<uint32_t> out;
    out = ScreenPicture(CurrentView().k);
    for (uint32_t& p : out) p = Rgba(p);
    return out.data();
}
PAGE_CALL const uint32_t* vexa_clipboard_image() { return gImage.data(); }
PAGE_CALL const char* vexa_clipboard_text() { return gWebClipboard.text.c_str(); }
PAGE_CALL void vexa_set_clipboard_text(const char* text, int has)
{
    gWebClipboard = {has != 0, has ? std::string(text) : std::string()};
}

// --- Recovery.
PAGE_CALL int vexa_recovery_step(int haveCopy, double written)
{
    const uint64_t w = written < 0 ? UINT64_MAX : static_cast<uint64_t>(written);
    return static_cast<int>(DueRecoveryStep(haveCopy != 0, w));
}
PAGE_CALL int vexa_recovery_period() { return kRecoveryPeriodMs; }
PAGE_CALL double vexa_recovery_stamp() { return static_cast<double>(RecoveryStamp()); }
PAGE_CALL const char* vexa_recovery_text(const char* name) { return Return(RecoveryCopyText(name)); }
// Reads a copy aside: its document name, or null when it is no copy.
PAGE_CALL const char* vexa_read_recovery(const char* bytes, int size)
{
    std::string name;
    if (!ReadRecoveryAside(bytes, static_cast<size_t>(size), name, gRecovered)) return nullptr;
    return Return(name);
}
PAGE_CALL void vexa_restore_recovery() { RestoreRecoveredSession(gRecovered); }

// --- Text input: the kept text (code page 932) and its layout.
PAGE_CALL const char* vexa_kept_text() { return gTextInput.text; }
PAGE_CALL int vexa_kept_vertical() { return gTextInput.vertical; }
PAGE_CALL void vexa_accept_text(const char* shiftJis, int size, int vertical)
{
    AcceptText(std::string(shiftJis, static_cast<size_t>(size)), vertical != 0);
}

// --- Pictures: judged by their headers first (0 accepted, else refused),
// then decoded by the browser at the kept size into gPicture.
PAGE_CALL const int32_t* vexa_check_picture(const uint8_t* bytes, int size)
{
    static int32_t out[3];
    gPrepared.assign(bytes, bytes + size);
    PictureKind kind;
    int width = 0, height = 0;
    out[0] = static_cast<int32_t>(PreparePicture(gPrepared, kind, width, height));
    out[1] = out[2] = 0;
    if (out[0] == 0) PictureKeptSize(width, height, out[1], out[2]);
    return out;
}
PAGE_CALL const char* vexa_prepared_picture()
{
    return Return(std::string(gPrepared.begin(), gPrepared.end()));
}
// Room for the decoded picture: the page writes R, G, B, A bytes there,
// which vexa_picture_ready lays on black.
PAGE_CALL uint32_t* vexa_picture_pixels(int width, int height)
{
    gPicture = OverlayPicture();
    if (width <= 0 || height <= 0 || !PictureSizeAcceptable(width, height) || !AllocatePicture(gPicture, width, height))
        return nullptr;
    return gPicture.pixels.data();
}
PAGE_CALL void vexa_picture_ready()
{
    for (uint32_t& p : gPicture.pixels) {
        const uint32_t a = p >> 24, r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
        p = Rgb((r * a + 127) / 255, (g * a + 127) / 255, (b * a + 127) / 255);
    }
}
PAGE_CALL const uint32_t* vexa_convert_preview(int mode, int fit, int dither)
{
    ConvertOptions o;
    o.mode = static_cast<ConvertMode>(mode);
    o.fit = static_cast<ConvertFit>(fit);
    o.dither = static_cast<ConvertDither>(dither);
    ConvertedScreen screen;
    ConvertPicture(gPicture.pixels.data(), gPicture.width, gPicture.height, o, screen);
    std::vector<uint32_t> bottomUp(static_cast<size_t>(kCanvasWidthAt1) * kCanvasHeightAt1);
    const PixelView view = {bottomUp.data(), kCanvasWidthAt1, kCanvasHeightAt1};
    for (int i = 0; i < kCellCount; ++i)
        DrawPlainGlyph(view, (i % kScreenColumns) * kCellPixels, (i / kScreenColumns) * kCellPixels, screen.code[i],
                       screen.attr[i], 1);
    TakeRgba(view, 0, 0, kCanvasWidthAt1, kCanvasHeightAt1, gPreview);
    return gPreview.data();
}
PAGE_CALL const int32_t* vexa_place_converted(int mode, int fit, int dither, int asOverlay)
{
    ConvertOptions o;
    o.mode = static_cast<ConvertMode>(mode);
    o.fit = static_cast<ConvertFit>(fit);
    o.dither = static_cast<ConvertDither>(dither);
    return AnswerOut(PlaceConvertedPicture(std::move(gPicture), o, asOverlay != 0));
}
// The dialog's first choices: mode, fit, dither, as overlay.
PAGE_CALL const int32_t* vexa_convert_defaults()
{
    static int32_t out[4];
    const ConvertChoice c;
    const int32_t values[4] = {static_cast<int32_t>(c.options.mode), static_cast<int32_t>(c.options.fit),
                               static_cast<int32_t>(c.options.dither), c.asOverlay};
    std::memcpy(out, values, sizeof out);
    return out;
}
// The decoded picture becomes the overlay, shown.
PAGE_CALL const int32_t* vexa_show_overlay()
{
    gOverlay = std::move(gPicture);
    RedrawWebOverlay();
    return AnswerOut(ShowLoadedOverlay());
}
// A picture that could not be used: the overlay is gone, as in the shell.
PAGE_CALL void vexa_drop_overlay()
{
    const bool wasShown = gView.ShowOverlay && OverlayLoaded();
    ReleaseOverlay();
    if (wasShown) InvalidateWebCanvas();
}

// --- The animation player.
// Opens at the current zoom: client width, height, picture x, y, buffer
// width, height, interval; null when no frame is defined.
PAGE_CALL const int32_t* vexa_player_open()
{
    static int32_t out[7];
    if (gPlayer.open || !OpenPlayerState(CurrentView().k)) return nullptr;
    StartPlayback();
    const PlayerLayout& l = gPlayer.layout;
    const int32_t values[7] = {l.clientWidth, l.clientHeight, l.picture.x, l.picture.y,
                               l.bufferWidth, l.bufferHeight, gPlayer.interval};
    std::memcpy(out, values, sizeof out);
    return out;
}
// The next frame's picture, R, G, B, A bytes of the layout's buffer size.
PAGE_CALL const uint32_t* vexa_player_step()
{
    const PlayerLayout& l = gPlayer.layout;
    std::vector<uint32_t> bottomUp(static_cast<size_t>(l.bufferWidth) * l.bufferHeight);
    const PixelView view = {bottomUp.data(), l.bufferWidth, l.bufferHeight};
    DrawFramePicture(view, PlayerStep(), l);
    TakeRgba(view, 0, 0, l.bufferWidth, l.bufferHeight, gPlayerPixels);
    return gPlayerPixels.data();
}
// The slider moved: the new interval when playback restarts, else 0.
PAGE_CALL int vexa_player_speed(int position)
{
    if (!SetPlayerSpeed(position)) return 0;
    StartPlayback();
    return gPlayer.interval;
}
PAGE_CALL int vexa_player_start_position() { return kPlayerStartPosition; }
PAGE_CALL void vexa_player_close() { gPlayer.open = false; }
