'use strict';
// Start-up, and the input of the page turned into the core's calls, as the
// Win32 editor turns its window messages into them.
const kZoneCursors = ['default', 'nesw-resize', 'ns-resize', 'nwse-resize', 'ew-resize', 'move',
  'ew-resize', 'nwse-resize', 'ns-resize', 'nesw-resize'];
const kClipboardCommands = () => [ids.IDM_COPY, ids.IDM_CUT, ids.IDM_PASTE];

// What the core's answer to a command asks of the page.
function carryOut(answer) {
  if (!answer) return;
  const [ask, detail, flags] = answer;
  if (flags & 4) layOut();
  if (flags & 8) followLanguage();
  switch (ask) {
    case Ask.OpenFile: openDocument(); break;
    case Ask.SaveFile: saveDocument(false); break;
    case Ask.SaveFileAs: saveDocument(true); break;
    case Ask.Export: exportScreen(detail); break;
    case Ask.ExportAnimation: exportAnimation(); break;
    case Ask.ConvertPicture: convertPicture(); break;
    case Ask.OverlayFile: loadOverlay(); break;
    case Ask.Text: askForText(); break;
    case Ask.Close: closePage(); break;
    case Ask.Player: openPlayer(); break;
    case Ask.About: showMessage(text('IDS_ABOUT'), text('IDS_ABOUT_CAPTION')); break;
    case Ask.NoMemoryForView: showMessage(text('IDS_NO_VIEW_MEMORY'), text('IDS_PLAIN_ERROR')); break;
    case Ask.SaveFrames: saveFrames(); break;
    case Ask.LoadFrames: loadFrames(); break;
    case Ask.DamagedFrames: showMessage(formatText(text('IDS_FRAMES_DAMAGED'), detail), text('IDS_ERROR_CAPTION')); break;
    default: break;
  }
  saveSettings();
}

// A menu item, toolbar button or key. Paste from a menu first reads the
// browser's clipboard.
function runCommand(id, direct = false) {
  if (!direct && id === ids.IDM_PASTE) return pasteFromMenu();
  carryOut(int32s(core._vexa_command(id), 3));
}

// The editor ends as the Win32 one does: after the discard question (which
// takes the recovery copy away), with the settings kept. A tab the page did
// not open itself cannot be closed by it: the page then leaves it.
let closing = false;
async function closePage() {
  if (!await discardPrompt()) return;
  closing = true;
  saveSettings();
  window.close();
  location.replace('about:blank');
}

// --- The mouse: panel coordinates are the canvas's own.
let capturedPointer = null;

function pointerReport(kind, e) {
  if (modalOpen) return;
  const received = performance.now();
  const box = canvas.getBoundingClientRect();
  const x = Math.floor(e.clientX - box.left), y = Math.floor(e.clientY - box.top);
  const capture = core._vexa_pointer(kind, x, y, (e.buttons & 1) ? 1 : 0, e.shiftKey ? 1 : 0, (e.ctrlKey || e.metaKey) ? 1 : 0);
  if (capture === 1) {
    capturedPointer = e.pointerId;
    canvas.setPointerCapture(e.pointerId);
  } else if (capture === 2 && capturedPointer !== null) {
    const id = capturedPointer;
    capturedPointer = null;
    if (canvas.hasPointerCapture(id)) canvas.releasePointerCapture(id);
  }
  const zone = core._vexa_pointer_cursor();
  if (zone >= 0 && zone < kZoneCursors.length) canvas.style.cursor = kZoneCursors[zone];
  for (let part = 0; part < 2; ++part) {
    const format = core._vexa_pointer_status(part);
    if (format < 0) continue;
    const values = [0, 1].map((i) => core._vexa_pointer_status_value(part, i));
    setStatus(part, format ? formatText(stringOf(format), ...values) : '');
  }
  // What the mouse changed shows at once: a stroke follows the pointer
  // without waiting for the next frame.
  if (frameWanted) {
    presentFrame();
    timePointer(received);
  }
}

// The time from a pointer event reaching the page to its picture on the
// canvas, as user timing that tools can read; only the latest are kept.
let pointerTimings = 0;
function timePointer(received) {
  if (++pointerTimings > 1000) {
    performance.clearMeasures('vexa-pointer-to-canvas');
    pointerTimings = 0;
  }
  performance.measure('vexa-pointer-to-canvas', { start: received, end: performance.now() });
}

canvas.addEventListener('pointerdown', (e) => {
  closeMenus();
  canvas.focus();
  if (e.button === 0) pointerReport(0, e);
  else if (e.button === 2) pointerReport(3, e);
});
canvas.addEventListener('pointermove', (e) => pointerReport(1, e));
canvas.addEventListener('pointerup', (e) => { if (e.button === 0) pointerReport(2, e); });
// The drag lost the mouse: it ends as if released.
canvas.addEventListener('lostpointercapture', () => {
  if (capturedPointer === null) return;
  capturedPointer = null;
  core._vexa_pointer(2, 0, 0, 0, 0, 0);
});
canvas.addEventListener('contextmenu', (e) => e.preventDefault());

// --- The keys: the accelerator table first, as the message loop translates
// accelerators before anything else, then pressed keys, then characters.
function acceleratorFor(e) {
  const ctrl = e.ctrlKey || e.metaKey;
  const key = e.key.length === 1 ? e.key.toUpperCase() : e.key;
  for (const a of resource('accelerators', 'myAccel')) {
    if (a.ctrl !== ctrl || a.shift !== e.shiftKey || a.alt !== e.altKey) continue;
    if (typeof a.key === 'string' && (key === a.key || e.code === `Key${a.key}`)) return a.id;
  }
  return 0;
}

document.addEventListener('keydown', (e) => {
  if (modalOpen || e.isComposing || e.target.closest?.('input, textarea, select')) return;
  if (menuKey(e)) {
    e.preventDefault();
    return;
  }
  const accelerator = acceleratorFor(e);
  if (accelerator) {
    // Copy, cut and paste go on to the browser, which sends them back as
    // clipboard events with the clipboard in hand.
    if (kClipboardCommands().includes(accelerator)) return;
    e.preventDefault();
    closeMenus();
    runCommand(accelerator);
    return;
  }
  const ctrl = e.ctrlKey || e.metaKey;
  const answer = withText(e.key, (name) => core._vexa_key(name, ctrl ? 1 : 0));
  if (answer) {
    e.preventDefault();
    if (answer > 0) runCommand(answer);
    return;
  }
  if (ctrl || e.altKey || [...e.key].length !== 1) return;
  const id = core._vexa_character(e.key.codePointAt(0));
  if (id) {
    e.preventDefault();
    runCommand(id);
  }
});

// --- What the core tells the page.
noticeHandlers[Notice.Modified] = () => refreshTitle();
noticeHandlers[Notice.Colours] = () => refreshToolbar();
noticeHandlers[Notice.Tool] = () => refreshToolbar();
noticeHandlers[Notice.Frame] = () => wantFrame();
noticeHandlers[Notice.ViewSize] = () => fitCanvas();
let marqueeTimer = 0;
noticeHandlers[Notice.Selection] = (active) => {
  clearInterval(marqueeTimer);
  marqueeTimer = active ? setInterval(() => core._vexa_step_marquee(), core._vexa_marquee_period()) : 0;
};

// Closing or reloading the tab with unsaved changes asks first.
addEventListener('beforeunload', (e) => {
  saveSettings();
  if (closing || !core._vexa_modified()) return;
  e.preventDefault();
  e.returnValue = '';
});

async function start() {
  await loadCore();
  loadSettings();
  const failure = core._vexa_start();
  if (failure) {
    await showMessage(text(failure === 1 ? 'IDS_NO_FONT' : 'IDS_NO_VIEW_MEMORY'), text('IDS_PLAIN_ERROR'));
    return;
  }
  buildMenuBar();
  const count = core._vexa_toolbar_count();
  buildToolbar(Array.from({ length: count }, (_, i) => int32s(core._vexa_toolbar() + 12 * i, 3)));
  layOut();
  refreshTitle();
  canvas.tabIndex = 0;
  canvas.focus();
  presentFrame();
  await startRecovery();
  performance.mark('vexa-ready');
  document.body.dataset.ready = 'true';
  await offerRecovery();
  document.body.dataset.recoveryOffered = 'true';
}

start();
