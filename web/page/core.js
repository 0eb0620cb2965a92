'use strict';
// The compiled core and the few helpers that carry strings and bytes across.
// Every editing rule is in there; the page only translates.
let core = null;
const noticeHandlers = {};

// The core's asks by name, numbered as the core numbers them.
const Ask = {};
const Notice = { Modified: 1, Colours: 2, Tool: 3, Selection: 4, Frame: 5, ViewSize: 6, ClipboardText: 7, ClipboardImage: 8 };

async function loadCore() {
  core = await VexaCore({ notify: (notice, arg) => noticeHandlers[notice]?.(arg) });
  for (let n = 0, name; (name = stringAt(core._vexa_ask_name(n))) !== null; ++n) Ask[name] = n;
}

const int32s = (pointer, count) => (pointer ? Array.from(core.HEAP32.subarray(pointer >> 2, (pointer >> 2) + count)) : null);
const stringAt = (pointer) => (pointer ? core.UTF8ToString(pointer) : null);
// The bytes the core last returned.
const returnedBytes = (pointer) => core.HEAPU8.slice(pointer, pointer + core._vexa_returned_size());

// Calls fn with the text (UTF-8, zero-terminated) or bytes in the core's memory.
function withText(text, fn) {
  const size = core.lengthBytesUTF8(text) + 1;
  const pointer = core._malloc(size);
  core.stringToUTF8(text, pointer, size);
  try { return fn(pointer, size - 1); } finally { core._free(pointer); }
}
function withBytes(bytes, fn) {
  const pointer = core._malloc(bytes.length + 1);
  core.HEAPU8.set(bytes, pointer);
  core.HEAPU8[pointer + bytes.length] = 0;
  try { return fn(pointer, bytes.length); } finally { core._free(pointer); }
}
// width x height pixels, R, G, B, A bytes, copied out of the core's memory.
function imageAt(pointer, width, height) {
  return new ImageData(new Uint8ClampedArray(core.HEAPU8.slice(pointer, pointer + width * height * 4).buffer), width, height);
}
