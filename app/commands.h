// What every menu, accelerator, toolbar and key command does, and the states
// the menu shows for it. A front end turns a command ID into RunCommand and
// carries out the answer: what to ask the user, what to repaint or lay out.
#pragma once
#include <optional>
#include <string>

#include "render/overlay.h"
#include "render/picture_convert.h"

// What the front end asks or opens for a command; the user's answer comes
// back through the call named beside it, or the front end's own file code.
enum class Ask {
    Nothing,
    OpenFile,        // discard prompt, then the open dialog
    SaveFile,        // to the document's name, or as a new one when untitled
    SaveFileAs,
    Export,          // `detail` is the ExportFormat
    ConvertPicture,  // a picture file and the options: PlaceConvertedPicture
    OverlayFile,     // a picture file for the overlay: ShowLoadedOverlay
    Text,            // the text dialog: AcceptText
    OpenRecent,      // discard prompt, then recent entry `detail`
    Close,           // the window closes (after the discard prompt)
    Player,          // the animation player opens
    About,
    NoMemoryForView,  // the view could not be made at any zoom
    ExportAnimation,  // the frames as an MZF: MakeAnimationMzf
    SaveFrames,       // a frames file to write the frames into
    LoadFrames,       // a frames file to read: AcceptFramesFile
    DamagedFrames,    // say that a frames file was not read; `detail` is the line at fault
};

struct CommandAnswer {
    Ask ask = Ask::Nothing;
    int detail = 0;
    bool repaintPanel = false;    // the whole panel, not only the canvas
    bool repaintPalette = false;
    bool relayout = false;        // the window's size and the status bar follow the view settings
    bool relanguage = false;      // menus, status bar and title anew in the interface's language
};

// Whether `id` names a command of the editor: a menu item, an accelerator
// or a toolbar button.
bool IsCommand(int id);
CommandAnswer RunCommand(int id);

// The states of a command's menu item, from the editor's state alone. An
// empty rule leaves the item as the menu resource has it; a radio item
// shows its check mark as a dot.
struct MenuState {
    std::optional<bool> enabled;
    std::optional<bool> checked;
    bool radio = false;
};
MenuState MenuStateOf(int id);

// The answers of the dialogs. Typed text (code page 932) becomes a floating
// block; the canvas is repainted whether or not anything was typed.
void AcceptText(const std::string& shiftJis, bool vertical);
// What the conversion dialog offers first.
struct ConvertChoice {
    ConvertOptions options;
    bool asOverlay = true;  // the original picture also becomes the overlay
};
// A picture becomes the screen, in one undo group; kept as the overlay, the
// original stays over it, shown, to refine the result by hand.
CommandAnswer PlaceConvertedPicture(OverlayPicture&& picture, const ConvertOptions& options, bool asOverlay);
// A picture was loaded as the overlay: it shows.
CommandAnswer ShowLoadedOverlay();
// A frames file's text: its frames replace all nine, or, when it is
// damaged, nothing changes and the answer says where.
CommandAnswer AcceptFramesFile(const char* text, size_t size);

// Machine exports clear attribute bit 3 (off at start, for this run only).
struct ExportChoice {
    bool clearMarks;
};
extern ExportChoice gExportChoice;

// The frames as an MZ-700 program at the player's speed: the MZF's bytes,
// or the text that says why it cannot be made, with the delay for its %s.
struct AnimationExport {
    std::string bytes;
    int refusal;  // a string ID, 0 when made
    int delay;    // milliseconds
};
AnimationExport MakeAnimationMzf(const std::string& name);
