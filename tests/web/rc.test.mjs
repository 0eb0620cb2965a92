// The reader of the resource script that gives the page its menus, keys,
// dialogs and texts.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { readResources } from '../../web/rc.mjs';
import { resources } from './helpers.mjs';

const header = '#define IDM_A 10\n#define IDM_B (IDM_A + 1)  // the next\n#define IDD_X 500\n#define IDS_Y 7000\n';

test('language blocks, menus, accelerators, dialogs and string tables read with the script\'s escapes', () => {
  const rc = `
#pragma code_page(65001)
#include "resource.h"
LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT
Menu MENU
BEGIN
    POPUP "ファイル(&F)"
    BEGIN
        MENUITEM "開く(&O)...\\aCtrl+O", IDM_A
        MENUITEM SEPARATOR
        POPUP "下"
        BEGIN
            MENUITEM "say ""hi"" && go", IDM_B, GRAYED, CHECKED
        END
    END
END
Keys ACCELERATORS
BEGIN
    "O", IDM_A, VIRTKEY, CONTROL, NOINVERT
    "Z", IDM_B, VIRTKEY, CONTROL, SHIFT
END
IDD_X DIALOG 0, 0, 100, 50
STYLE DS_MODALFRAME | WS_POPUP
CAPTION "テキスト"
FONT 9, "ＭＳ Ｐゴシック"
BEGIN
    EDITTEXT        IDM_A, 0, 2, 162, 80, ES_MULTILINE | WS_BORDER
    AUTOCHECKBOX    "縦書き", IDM_B, 4, 86, 30, 10, WS_TABSTOP
    CONTROL         "", 7, "Static", SS_OWNERDRAW, 4, 4, 220, 120
    DEFPUSHBUTTON   "OK", IDOK, 65, 86, 42, 14
END
STRINGTABLE
BEGIN
    IDS_Y, "a\\n\\tb"
END
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
STRINGTABLE
BEGIN
    IDS_Y "English // not a comment"
END
`;
  const { languages } = readResources(rc, header);
  assert.deepEqual(Object.keys(languages), ['ja', 'en']);
  const ja = languages.ja;
  assert.deepEqual(ja.menus.Menu, [{ text: 'ファイル(&F)', items: [
    { text: '開く(&O)...\bCtrl+O', id: 10, grayed: false, checked: false },
    { separator: true },
    { text: '下', items: [{ text: 'say "hi" && go', id: 11, grayed: true, checked: true }] },
  ] }]);
  assert.deepEqual(ja.accelerators.Keys.map((a) => [a.key, a.id, a.ctrl, a.shift]), [['O', 10, true, false], ['Z', 11, true, true]]);
  const dialog = ja.dialogs[500];
  assert.equal(dialog.caption, 'テキスト');
  assert.deepEqual(dialog.controls.map((c) => [c.kind, c.text, c.id]),
    [['EDITTEXT', '', 10], ['AUTOCHECKBOX', '縦書き', 11], ['Static', '', 7], ['DEFPUSHBUTTON', 'OK', 1]]);
  assert.ok(dialog.controls[0].style.includes('ES_MULTILINE') && dialog.controls[2].style.includes('SS_OWNERDRAW'));
  assert.equal(ja.strings[7000], 'a\n\tb');
  assert.equal(languages.en.strings[7000], 'English // not a comment');
});

test('every ID the editor\'s own script names resolves to a number', () => {
  const numbers = [];
  const walk = (items) => items.forEach((i) => { if (i.items) walk(i.items); else if (!i.separator) numbers.push(i.id); });
  for (const language of Object.values(resources.languages)) {
    Object.values(language.menus).forEach(walk);
    for (const table of Object.values(language.accelerators)) numbers.push(...table.map((a) => a.id));
    for (const dialog of Object.values(language.dialogs)) numbers.push(...dialog.controls.map((c) => c.id));
    numbers.push(...Object.keys(language.strings).map(Number));
  }
  assert.ok(numbers.length > 100);
  assert.deepEqual(numbers.filter((n) => !Number.isInteger(n)), []);
});
