// Reads the editor's resource script and ID header into plain data for the
// page: per language block, the menus, the accelerator tables, the dialogs'
// texts and controls, and the string tables. IDs are resolved to numbers.

const kLanguages = { LANG_JAPANESE: 'ja', LANG_ENGLISH: 'en' };
// The IDs the script takes from the platform's headers.
const kPlatformIds = { IDOK: 1, IDCANCEL: 2, IDABORT: 3, IDRETRY: 4, IDIGNORE: 5, IDYES: 6, IDNO: 7, IDC_STATIC: -1 };

// "#define NAME value" lines, values resolved through earlier names.
export function readDefines(text) {
  const ids = { ...kPlatformIds };
  for (const line of text.split('\n')) {
    const m = /^\s*#\s*define\s+(\w+)\s+(.+?)\s*(\/\/.*|\/\*.*)?$/.exec(line);
    if (!m) continue;
    const value = evaluate(m[2], ids);
    if (value !== undefined) ids[m[1]] = value;
  }
  return ids;
}

function evaluate(expression, ids) {
  const t = expression.trim().replace(/^\((.*)\)$/, '$1');
  if (/^-?(0x[0-9a-f]+|\d+)$/i.test(t)) return Number(t);
  if (t in ids) return ids[t];
  const sum = /^(\w+)\s*\+\s*(\w+)$/.exec(t);
  if (sum) {
    const a = evaluate(sum[1], ids), b = evaluate(sum[2], ids);
    if (a !== undefined && b !== undefined) return a + b;
  }
  return undefined;
}

// The tokens of one line: strings (with the script's escapes and doubled
// quotes), words, numbers and commas; comments and preprocessor lines give
// none.
export function tokenize(line) {
  const tokens = [];
  let i = 0;
  if (/^\s*#/.test(line)) return tokens;
  while (i < line.length) {
    const c = line[i];
    if (c === '/' && line[i + 1] === '/') break;
    if (/\s/.test(c)) { ++i; continue; }
    if (c === ',' || c === '|') { tokens.push({ kind: c }); ++i; continue; }
    if (c === '"') {
      let text = '';
      ++i;
      while (i < line.length) {
        const d = line[i];
        if (d === '"' && line[i + 1] === '"') { text += '"'; i += 2; continue; }
        if (d === '"') { ++i; break; }
        if (d === '\\' && i + 1 < line.length) {
          const e = line[i + 1];
          text += { a: '\b', t: '\t', n: '\n', r: '\r', '\\': '\\', '"': '"' }[e] ?? '\\' + e;
          i += 2;
          continue;
        }
        text += d;
        ++i;
      }
      tokens.push({ kind: 'string', text });
      continue;
    }
    const m = /^[^\s,|"]+/.exec(line.slice(i));
    tokens.push({ kind: 'word', text: m[0] });
    i += m[0].length;
  }
  return tokens;
}

// Fields between commas; each field is the list of its tokens.
function fields(tokens) {
  const out = [[]];
  for (const t of tokens) {
    if (t.kind === ',') out.push([]);
    else out[out.length - 1].push(t);
  }
  return out;
}

function idOf(token, ids) {
  if (!token) return undefined;
  if (token.kind === 'string') return token.text;
  const v = evaluate(token.text, ids);
  return v === undefined ? token.text : v;
}

const isOpen = (t) => t && t.kind === 'word' && (t.text === 'BEGIN' || t.text === '{');
const isClose = (t) => t && t.kind === 'word' && (t.text === 'END' || t.text === '}');

export function readResources(rcText, headerText) {
  const ids = readDefines(headerText);
  const lines = rcText.split('\n').map(tokenize).filter((t) => t.length);
  const languages = {};
  let language = null;
  const current = () => {
    const key = language ?? 'ja';
    languages[key] ??= { menus: {}, accelerators: {}, dialogs: {}, strings: {} };
    return languages[key];
  };
  let at = 0;
  // The lines of a BEGIN ... END body, nested bodies included.
  const body = () => {
    while (at < lines.length && !isOpen(lines[at][0])) ++at;
    const start = ++at;
    let depth = 1;
    for (; at < lines.length; ++at) {
      if (isOpen(lines[at][0]) || isOpen(lines[at][lines[at].length - 1])) ++depth;
      if (isClose(lines[at][0]) && --depth === 0) break;
    }
    return lines.slice(start, at++);
  };
  while (at < lines.length) {
    const t = lines[at];
    if (t[0].kind === 'word' && t[0].text === 'LANGUAGE') {
      language = kLanguages[t[1]?.text] ?? t[1]?.text;
      ++at;
      continue;
    }
    const type = t[0].kind === 'word' && t[0].text === 'STRINGTABLE' ? 'STRINGTABLE' : t[1]?.text;
    const name = idOf(t[0], ids);
    switch (type) {
      case 'MENU': case 'MENUEX': current().menus[name] = readMenu(body(), ids); break;
      case 'ACCELERATORS': current().accelerators[name] = readAccelerators(body(), ids); break;
      case 'DIALOG': case 'DIALOGEX': {
        const header = [];
        ++at;
        while (at < lines.length && !isOpen(lines[at][0])) header.push(lines[at++]);
        current().dialogs[name] = readDialog(t, header, body(), ids);
        break;
      }
      case 'STRINGTABLE':
        for (const line of body()) {
          const f = fields(line).flat();
          if (f.length >= 2) current().strings[idOf(f[0], ids)] = f[f.length - 1].text;
        }
        break;
      default: ++at;
    }
  }
  return { ids, languages };
}

// Items: {text, id, grayed, checked}, {separator: true} or {text, items}.
function readMenu(lines, ids) {
  const root = { items: [] };
  const stack = [root];
  for (const t of lines) {
    const top = stack[stack.length - 1];
    if (isOpen(t[0])) continue;
    if (isClose(t[0])) { stack.pop(); continue; }
    const keyword = t[0].text;
    if (keyword === 'POPUP') {
      const popup = { text: t[1].text, items: [] };
      top.items.push(popup);
      stack.push(popup);
    } else if (keyword === 'MENUITEM') {
      if (t[1]?.text === 'SEPARATOR' && t[1].kind === 'word') { top.items.push({ separator: true }); continue; }
      const f = fields(t.slice(1));
      const flags = f.slice(2).flat().map((x) => x.text);
      top.items.push({ text: f[0][0].text, id: idOf(f[1][0], ids), grayed: flags.includes('GRAYED'), checked: flags.includes('CHECKED') });
    }
  }
  return root.items;
}

// Entries: {key, id, ctrl, shift, alt, virtkey}.
function readAccelerators(lines, ids) {
  return lines.map((t) => {
    const f = fields(t);
    const flags = f.slice(2).flat().map((x) => x.text);
    const event = f[0][0];
    return {
      key: event.kind === 'string' ? event.text : idOf(event, ids),
      id: idOf(f[1][0], ids),
      virtkey: flags.includes('VIRTKEY'),
      ctrl: flags.includes('CONTROL'),
      shift: flags.includes('SHIFT'),
      alt: flags.includes('ALT'),
    };
  });
}

const kTextControls = ['LTEXT', 'RTEXT', 'CTEXT', 'AUTOCHECKBOX', 'CHECKBOX', 'AUTORADIOBUTTON', 'RADIOBUTTON',
  'PUSHBUTTON', 'DEFPUSHBUTTON', 'GROUPBOX', 'AUTO3STATE', 'STATE3'];

// {caption, font, rect, controls: [{kind, text, id, rect, style}]}; a
// CONTROL's kind is its window class.
function readDialog(headLine, header, lines, ids) {
  const dialog = { caption: '', font: '', rect: fields(headLine.slice(2)).map((f) => Number(f[0]?.text)), controls: [] };
  for (const t of header) {
    if (t[0].text === 'CAPTION') dialog.caption = t[1].text;
    if (t[0].text === 'FONT') dialog.font = fields(t.slice(1))[1]?.[0]?.text ?? '';
  }
  for (const t of lines) {
    const keyword = t[0].text;
    const f = fields(t.slice(1));
    const numbers = (from) => f.slice(from, from + 4).map((x) => Number(x[0]?.text));
    const style = (from) => f.slice(from).flat().filter((x) => x.kind === 'word').map((x) => x.text);
    if (keyword === 'CONTROL') {
      const classStyle = f[3].filter((x) => x.kind === 'word').map((x) => x.text);
      dialog.controls.push({ kind: f[2][0].text, text: f[0][0].text, id: idOf(f[1][0], ids), style: classStyle, rect: numbers(4) });
    } else if (kTextControls.includes(keyword)) {
      dialog.controls.push({ kind: keyword, text: f[0][0].text, id: idOf(f[1][0], ids), rect: numbers(2), style: style(6) });
    } else if (keyword === 'EDITTEXT') {
      dialog.controls.push({ kind: keyword, text: '', id: idOf(f[0][0], ids), rect: numbers(1), style: style(5) });
    }
  }
  return dialog;
}
