'use strict';
// Files, the clipboard and pictures: the browser's ways of reading and
// writing them, around the core's readers and writers.
const canPickFiles = () => typeof window.showOpenFilePicker === 'function' && typeof window.showSaveFilePicker === 'function';
const fileInput = document.getElementById('file-input');

// A file chosen with the browser's file input; null when none was.
function chooseWithInput(accept) {
  return new Promise((resolve) => {
    fileInput.accept = accept;
    fileInput.value = '';
    const done = () => resolve(fileInput.files[0] ?? null);
    fileInput.addEventListener('change', done, { once: true });
    fileInput.addEventListener('cancel', () => resolve(null), { once: true });
    fileInput.click();
  });
}

// {file, handle} of a chosen file, or null.
async function chooseFile(accept) {
  if (!canPickFiles()) {
    const file = await chooseWithInput(accept);
    return file && { file, handle: null };
  }
  try {
    const [handle] = await window.showOpenFilePicker({ types: [{ accept: { 'application/octet-stream': accept.split(',') } }] });
    return { file: await handle.getFile(), handle };
  } catch {
    return null;  // cancelled
  }
}

async function readStart(file, limit) {
  return new Uint8Array(await file.slice(0, limit).arrayBuffer());
}

// The discard prompt: true when there is nothing to lose or the user lets it go.
async function discardPrompt() {
  if (!core._vexa_modified()) return true;
  if (await showMessage(text('IDS_DISCARD'), text('IDS_CAPTION'), 'yesno') !== 'yes') return false;
  await deleteRecoveryCopy();  // the changes were given up
  return true;
}

// A screen file's bytes become the document, or are refused with the
// editor's message, leaving the cells as they were and the document untitled.
async function openScreenFile(file, handle) {
  let bytes;
  try {
    bytes = await readStart(file, core._vexa_file_limit(0));  // no more counts
  } catch {
    await showMessage(formatText(text('IDS_CANNOT_OPEN'), file.name), text('IDS_ERROR_CAPTION'));
    return false;
  }
  if (!withBytes(bytes, (p, n) => core._vexa_open(p, n))) {
    await showMessage(text('IDS_NOT_BRISEL'), text('IDS_ERROR_CAPTION'));
    Object.assign(documentFile, { name: '', handle: null });
    core._vexa_force_modified_report();
    refreshTitle();
    return false;
  }
  Object.assign(documentFile, { name: file.name, handle });
  refreshTitle();
  return true;
}

async function openDocument() {
  if (!await discardPrompt()) return;
  const chosen = await chooseFile('.txt');
  if (chosen) await openScreenFile(chosen.file, chosen.handle);
}

// Writes bytes to a file the user names: through the file system where the
// browser allows it, else as a download. The name written to, or null.
async function writeFile(bytes, proposed, type, handle) {
  if (canPickFiles()) {
    try {
      handle ??= await window.showSaveFilePicker({ suggestedName: proposed, types: [{ accept: { [type]: ['.' + proposed.split('.').pop()] } }] });
    } catch {
      return null;  // cancelled
    }
    const writable = await handle.createWritable();
    await writable.write(bytes);
    await writable.close();
    return { name: handle.name, handle };
  }
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = proposed;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  return { name: proposed, handle: null };
}

// A name for a file the user saves: the proposed one, or asked for when
// there is none (downloads name their file themselves).
function nameToSave(proposed, extension) {
  if (proposed || canPickFiles()) return proposed || `.${extension}`;
  const typed = prompt('', `.${extension}`);
  return typed ? (typed.includes('.') ? typed : `${typed}.${extension}`) : null;
}

async function saveDocument(asNew) {
  const name = nameToSave(asNew ? '' : documentFile.name, 'txt');
  if (name === null) return false;
  const bytes = returnedBytes(core._vexa_screen_text());
  let written;
  try {
    written = await writeFile(bytes, name, 'text/plain', asNew ? null : documentFile.handle);
  } catch {
    await showMessage(formatText(text('IDS_CANNOT_SAVE'), name), text('IDS_ERROR_CAPTION'));
    return false;
  }
  if (!written) return false;
  Object.assign(documentFile, written);
  core._vexa_mark_saved();
  await deleteRecoveryCopy();
  refreshTitle();
  return true;
}

// An export under the document's name with the format's extension (asked
// for when untitled); `make` gives the bytes once the name is settled.
async function writeExport(extension, type, make) {
  const base = documentFile.name.replace(/\.[^.]*$/, '');
  const name = nameToSave(base && `${base}.${extension}`, extension);
  if (name === null) return;
  try {
    await writeFile(await make(), name, type, null);
  } catch {
    await showMessage(formatText(text('IDS_CANNOT_SAVE'), name), text('IDS_ERROR_CAPTION'));
  }
}

// Every export is written as the Win32 editor writes it; the MZF name comes
// from the document's name, the picture is the canvas at its zoom.
function exportScreen(format) {
  const extension = stringAt(core._vexa_export_extension(format));
  if (extension !== 'png')
    return writeExport(extension, 'application/octet-stream', () => withText(documentFile.name, (p) => returnedBytes(core._vexa_export(format, p))));
  return writeExport(extension, 'image/png', async () => {
    const picture = document.createElement('canvas');
    picture.width = core._vexa_view(2);
    picture.height = core._vexa_view(3);
    picture.getContext('2d').putImageData(imageAt(core._vexa_screen_picture(), picture.width, picture.height), 0, 0);
    return new Uint8Array(await (await new Promise((r) => picture.toBlob(r, 'image/png'))).arrayBuffer());
  });
}

// The frames as an MZF program; the reason it cannot be made is shown
// before any file is asked for.
async function exportAnimation() {
  const bytes = withText(documentFile.name, (p) => returnedBytes(core._vexa_export_animation(p)));
  const [refusal, delay] = int32s(core._vexa_animation_refusal(), 2);
  if (refusal) await showMessage(formatText(stringOf(refusal), delay), text('IDS_ERROR_CAPTION'));
  else await writeExport('mzf', 'application/octet-stream', () => bytes);
}

// Frames files: the screen's name proposed, a damaged file refused whole.
async function saveFrames() {
  const base = documentFile.name.replace(/\.[^.]*$/, '');
  const name = nameToSave(base && `${base}.vxf`, 'vxf');
  if (name === null) return;
  try {
    await writeFile(returnedBytes(core._vexa_frames_text()), name, 'text/plain', null);
  } catch {
    await showMessage(formatText(text('IDS_CANNOT_SAVE'), name), text('IDS_ERROR_CAPTION'));
  }
}

async function loadFrames() {
  const chosen = await chooseFile('.vxf');
  if (!chosen) return;
  let bytes;
  try {
    bytes = await readStart(chosen.file, kScreenFileReadLimit + 1);
  } catch {
    bytes = null;
  }
  if (!bytes || bytes.length > kScreenFileReadLimit) {  // longer than any frames file is refused
    await showMessage(formatText(text('IDS_CANNOT_OPEN'), chosen.file.name), text('IDS_ERROR_CAPTION'));
    return;
  }
  carryOut(withBytes(bytes, (p, n) => int32s(core._vexa_accept_frames(p, n), 3)));
}

// --- Pictures: judged by their headers in the core before the browser's
// decoder sees them, and decoded at the size the core keeps.
const kPictureTypes = '.png,.jpg,.jpeg,.bmp,.gif';

async function decodePicture(file) {
  if (file.size > core._vexa_file_limit(1)) return false;
  const bytes = new Uint8Array(await file.arrayBuffer());
  const check = withBytes(bytes, (p, n) => int32s(core._vexa_check_picture(p, n), 3));
  if (check[0] !== 0) return false;
  const prepared = returnedBytes(core._vexa_prepared_picture());
  let bitmap;
  try {
    bitmap = await createImageBitmap(new Blob([prepared]),
      { resizeWidth: check[1], resizeHeight: check[2], resizeQuality: 'high', colorSpaceConversion: 'none' });
  } catch {
    return false;
  }
  const scratch = document.createElement('canvas');
  scratch.width = check[1];
  scratch.height = check[2];
  const c = scratch.getContext('2d');
  c.drawImage(bitmap, 0, 0);
  const pixels = c.getImageData(0, 0, check[1], check[2]).data;
  const into = core._vexa_picture_pixels(check[1], check[2]);
  if (!into) return false;
  core.HEAPU8.set(pixels, into);
  core._vexa_picture_ready();
  return true;
}

async function convertPicture() {
  const chosen = await chooseFile(kPictureTypes);
  if (!chosen) return;
  if (!await decodePicture(chosen.file)) {
    await showMessage(formatText(text('IDS_CANNOT_OPEN'), chosen.file.name), text('IDS_ERROR_CAPTION'));
    return;
  }
  const answer = await askConvertOptions();
  if (answer) carryOut(int32s(core._vexa_place_converted(...answer), 3));
}

async function loadOverlay() {
  const chosen = await chooseFile(kPictureTypes);
  if (!chosen) return;
  // The previous picture is gone whatever follows, as in the Win32 editor.
  core._vexa_drop_overlay();
  if (await decodePicture(chosen.file)) carryOut(int32s(core._vexa_show_overlay(), 3));
}

// --- The clipboard: block text through the browser's clipboard. The copy,
// cut and paste events carry it without asking; menu items use the
// asynchronous clipboard, which may ask the user first.
let clipboardEvent = null;

noticeHandlers[Notice.ClipboardText] = () => {
  const value = stringAt(core._vexa_clipboard_text());
  if (clipboardEvent) {
    clipboardEvent.clipboardData.setData('text/plain', value);
    clipboardEvent.preventDefault();
  } else {
    navigator.clipboard?.writeText(value).catch(() => {});
  }
};

noticeHandlers[Notice.ClipboardImage] = (size) => {
  const width = size >> 16, height = size & 0xFFFF;
  const picture = document.createElement('canvas');
  picture.width = width;
  picture.height = height;
  picture.getContext('2d').putImageData(imageAt(core._vexa_clipboard_image(), width, height), 0, 0);
  const blob = new Promise((resolve) => picture.toBlob(resolve, 'image/png'));
  navigator.clipboard?.write?.([new ClipboardItem({ 'image/png': blob })]).catch(() => {});
};

function setClipboardText(value) {
  withText(value ?? '', (p) => core._vexa_set_clipboard_text(p, value === null ? 0 : 1));
}

// Where the browser lets the page read the clipboard without asking, the
// Paste item's state follows it.
async function refreshClipboardText() {
  try {
    const permission = await navigator.permissions.query({ name: 'clipboard-read' });
    if (permission.state === 'granted') setClipboardText(await navigator.clipboard.readText());
  } catch { /* the text handed over last stays */ }
}

async function pasteFromMenu() {
  try {
    setClipboardText(await navigator.clipboard.readText());
  } catch { /* the text handed over last stays */ }
  runCommand(ids.IDM_PASTE, true);
}

function clipboardCommand(e, id) {
  if (modalOpen || e.target.closest?.('input, textarea')) return;
  clipboardEvent = e;
  try {
    if (id === ids.IDM_PASTE) {
      setClipboardText(e.clipboardData.types.includes('text/plain') ? e.clipboardData.getData('text/plain') : null);
      e.preventDefault();
    }
    runCommand(id, true);
  } finally {
    clipboardEvent = null;
  }
}

document.addEventListener('copy', (e) => clipboardCommand(e, ids.IDM_COPY));
document.addEventListener('cut', (e) => clipboardCommand(e, ids.IDM_CUT));
document.addEventListener('paste', (e) => clipboardCommand(e, ids.IDM_PASTE));

// --- Dropping a file on the page opens it.
document.addEventListener('dragover', (e) => {
  if (!e.dataTransfer.types.includes('Files') || modalOpen) return;
  e.preventDefault();
  document.body.classList.add('drop-target');
});
document.addEventListener('dragleave', () => document.body.classList.remove('drop-target'));
document.addEventListener('drop', async (e) => {
  document.body.classList.remove('drop-target');
  const file = e.dataTransfer.files[0];
  if (!file || modalOpen) return;
  e.preventDefault();
  const handle = await e.dataTransfer.items[0]?.getAsFileSystemHandle?.().catch(() => null);
  if (await discardPrompt()) await openScreenFile(file, handle?.kind === 'file' ? handle : null);
});
