'use strict';
// Text as the editor keeps it: the text input's conversion tables are keyed
// by code page 932, so typed text is encoded with the browser's own decoder
// read backwards. Characters the code page lacks become blanks, as in the
// Win32 editor.
let shiftJisTable = null;

function shiftJisOf(text) {
  if (!shiftJisTable) {
    shiftJisTable = new Map();
    const decoder = new TextDecoder('shift_jis');
    const pair = new Uint8Array(2);
    for (let lead = 0x81; lead <= 0xFC; ++lead) {
      if (lead > 0x9F && lead < 0xE0) continue;
      for (let trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail === 0x7F) continue;
        pair[0] = lead;
        pair[1] = trail;
        const c = decoder.decode(pair);
        // The first code of a character wins, as the platform's encoder picks.
        if (c.length === 1 && c !== '\uFFFD' && !shiftJisTable.has(c)) shiftJisTable.set(c, [lead, trail]);
      }
    }
    for (let b = 0xA1; b <= 0xDF; ++b) shiftJisTable.set(decoder.decode(new Uint8Array([b])), [b]);
  }
  const bytes = [];
  for (const c of text) {
    const code = c.codePointAt(0);
    if (code < 0x80) bytes.push(code);
    else bytes.push(...(shiftJisTable.get(c) ?? [0x20]));
  }
  return new Uint8Array(bytes);
}

function textOfShiftJis(bytes) {
  return new TextDecoder('shift_jis').decode(bytes);
}

// A menu or dialog text: "&" marks the access key, "&&" is an ampersand,
// and the resource's right-align escape or a tab starts the shortcut.
function splitMenuText(text) {
  const [label, shortcut = ''] = text.split(/[\b\t]/);
  let plain = '', key = '', keyAt = -1;
  for (let i = 0; i < label.length; ++i) {
    if (label[i] === '&' && label[i + 1] === '&') { plain += '&'; ++i; continue; }
    if (label[i] === '&' && i + 1 < label.length) { keyAt = plain.length; key = label[i + 1].toLowerCase(); continue; }
    plain += label[i];
  }
  return { plain, key, keyAt, shortcut };
}

// The label as page elements, the access key underlined.
function labelNodes(text) {
  const { plain, keyAt } = splitMenuText(text);
  if (keyAt < 0) return [document.createTextNode(plain)];
  const u = document.createElement('u');
  u.textContent = plain[keyAt];
  return [document.createTextNode(plain.slice(0, keyAt)), u, document.createTextNode(plain.slice(keyAt + 1))];
}

// printf's %s, %d and %X in order, with a width, padded with zeros when
// the width starts with one.
function formatText(format, ...values) {
  let i = 0;
  return format.replace(/%(0?)(\d*)([sdX])/g, (_, zero, width, kind) => {
    const value = values[i++] ?? '';
    const shown = kind === 'X' ? Number(value).toString(16).toUpperCase() : String(value);
    return shown.padStart(Number(width || 0), zero ? '0' : ' ');
  });
}
