'use strict';
// The page's own parts: texts of the chosen language, the canvas, the
// toolbar, the status bar, the title and message boxes.
const canvas = document.getElementById('canvas');
const context = canvas.getContext('2d');
const statusParts = document.querySelectorAll('#statusbar span');
const ids = kResources.ids;
let language = 'ja';
// A resource of the chosen language; one the language lacks comes from
// the Japanese block, as Windows falls back to the default language.
const resource = (kind, id) => kResources.languages[language]?.[kind][id] ?? kResources.languages.ja[kind][id];
const stringOf = (number) => resource('strings', number) ?? '';
const text = (id) => stringOf(ids[id]);
// Buttons of message boxes are the system's, not the editor's.
const kSystemButtons = { ja: { yes: 'はい(Y)', no: 'いいえ(N)', ok: 'OK' }, en: { yes: 'Yes', no: 'No', ok: 'OK' } };

const documentFile = { name: '', handle: null };

function refreshTitle() {
  document.title = withText(documentFile.name,
    (name) => withText(text('IDS_UNTITLED'), (untitled) => stringAt(core._vexa_title(name, untitled))));
}

// --- The canvas: what the core composed since the last picture.
let shown = null;
let frameWanted = false;

function wantFrame() {
  if (frameWanted) return;
  frameWanted = true;
  requestAnimationFrame(presentFrame);
}

function presentFrame() {
  frameWanted = false;
  const area = int32s(core._vexa_compose(), 4);
  if (!area) return;
  const width = core._vexa_view(0), height = core._vexa_view(1);
  const pointer = core._vexa_shown_pixels();
  if (!shown || shown.data.buffer !== core.HEAPU8.buffer || shown.width !== width || shown.height !== height ||
      shown.data.byteOffset !== pointer) {
    shown = new ImageData(new Uint8ClampedArray(core.HEAPU8.buffer, pointer, width * height * 4), width, height);
  }
  context.putImageData(shown, 0, 0, area[0], area[1], area[2], area[3]);
  drawFrameLabels();
}

// Each shown frame's number inside its top-left cell, black on orange.
function drawFrameLabels() {
  context.font = '12px ui-monospace, monospace';
  context.textBaseline = 'top';
  for (let k = 0; k < 9; ++k) {
    const f = int32s(core._vexa_frame_outline(k), 6);
    if (!f) continue;
    const label = `${k + 1} `;
    context.fillStyle = '#ff8000';
    context.fillRect(f[4], f[5], context.measureText(label).width, 13);
    context.fillStyle = '#000';
    context.fillText(label, f[4], f[5] + 1);
  }
}

function fitCanvas() {
  canvas.width = core._vexa_view(0);
  canvas.height = core._vexa_view(1);
  shown = null;
}

function layOut() {
  document.getElementById('statusbar').hidden = !core._vexa_view(4);
}

// --- The toolbar: the core's buttons, images from the toolbar bitmap.
const toolbarButtons = [];

function buildToolbar(buttons) {
  const bar = document.getElementById('toolbar');
  for (const [image, command, kind] of buttons) {
    if (kind === 0) {
      bar.append(Object.assign(document.createElement('span'), { className: 'separator' }));
      continue;
    }
    const button = document.createElement('button');
    button.dataset.command = command;
    button.tabIndex = -1;
    const picture = document.createElement('span');
    picture.style.backgroundImage = `url(${kToolbarImage})`;
    picture.style.backgroundPosition = `${-16 * image}px 0`;
    button.append(picture);
    button.addEventListener('mousedown', (e) => e.preventDefault());  // the canvas keeps the keys
    button.addEventListener('click', () => runCommand(command));
    bar.append(button);
    toolbarButtons.push({ button, command, group: kind === 2 });
  }
  refreshToolbar();
}

// The pressed buttons show the tool and the Pen's colours.
function refreshToolbar() {
  const pressed = new Set([core._vexa_pen(2), ids.IDT_FG0 + core._vexa_pen(0), ids.IDT_BG0 + core._vexa_pen(1)]);
  for (const b of toolbarButtons) b.button.classList.toggle('pressed', b.group && pressed.has(b.command));
}

function setStatus(part, value) {
  if (statusParts[part]) statusParts[part].textContent = value;
}

// --- Modal questions: an HTML dialog answers through a promise.
let modalOpen = 0;

function showModal(dialog, focus) {
  document.body.append(dialog);
  ++modalOpen;
  dialog.addEventListener('close', () => { --modalOpen; dialog.remove(); }, { once: true });
  dialog.showModal();
  focus?.focus();
}

function captionBar(caption) {
  return Object.assign(document.createElement('div'), { className: 'caption', textContent: caption });
}

// buttons: 'ok' or 'yesno'. Resolves to 'ok', 'yes' or 'no'.
function showMessage(message, caption, buttons = 'ok') {
  return new Promise((resolve) => {
    const dialog = document.createElement('dialog');
    dialog.className = 'message-box';
    const body = Object.assign(document.createElement('div'), { className: 'body' });
    body.append(Object.assign(document.createElement('div'), { className: 'message', textContent: message }));
    const row = Object.assign(document.createElement('div'), { className: 'buttons' });
    const names = kSystemButtons[language] ?? kSystemButtons.ja;
    const answers = buttons === 'yesno' ? ['yes', 'no'] : ['ok'];
    let answer = buttons === 'yesno' ? 'no' : 'ok';
    for (const a of answers) {
      const button = Object.assign(document.createElement('button'), { textContent: names[a] });
      button.dataset.answer = a;
      button.addEventListener('click', () => { answer = a; dialog.close(); });
      row.append(button);
    }
    dialog.addEventListener('keydown', (e) => {
      const key = e.key.toLowerCase();
      if (buttons === 'yesno' && (key === 'y' || key === 'n')) { answer = key === 'y' ? 'yes' : 'no'; dialog.close(); }
    });
    body.append(row);
    dialog.append(captionBar(caption), body);
    dialog.addEventListener('close', () => resolve(answer), { once: true });
    showModal(dialog, row.firstChild);
  });
}
