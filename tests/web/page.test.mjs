// The page in headless Chromium, opened from disk and driven with real mouse
// and keyboard input. The native vexa-cli is the reference for what the
// core draws and writes; the resource script for the texts.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';
import {
  answerMessage, at, blankCells, cellPoint, chooseMenu, cli, clickCell, differences, dragCells, geometry, launch,
  chooseFileFor, ids, menuItemState, menuText, nextFrame, openPage, pagePath, plain, resources, openScreen, readScreen, save, until, savedCells, screenText, text, writeScratch,
} from './helpers.mjs';

let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser?.close(); });

// A screen with something in every colour and both character sets.
function sampleCells() {
  const cells = blankCells();
  for (let i = 0; i < 1000; ++i) cells[i] = { code: (i * 7) & 0xFF, attr: ((i * 13) & 0xF7) | ((i & 64) ? 0x80 : 0) };
  return cells;
}

test('the canvas shows what the core rasterises, at every zoom, and the zoom menu changes it', async () => {
  const page = await openPage(browser);
  const file = writeScratch('sample.txt', screenText(sampleCells()));
  await openScreen(page, 'sample.txt', screenText(sampleCells()));
  for (let k = 1; k <= 8; ++k) {
    await chooseMenu(page, '表示', '拡大表示', `x${k}`);
    await nextFrame(page);
    assert.equal((await geometry(page)).k, k);
    const d = await differences(page, cli('render', file, '-', '--zoom', String(k), '--grid', 'cross'), 8, 8);
    assert.deepEqual([d.count, d.width, d.height], [0, 320 * k, 200 * k], `x${k}: ${JSON.stringify(d.first)}`);
  }
  // The grid switched off with its key: the canvas follows the native
  // picture without it.
  await page.keyboard.press('Control+g');
  await nextFrame(page);
  const plain = await differences(page, cli('render', file, '-', '--zoom', '8'), 8, 8);
  assert.equal(plain.count, 0, JSON.stringify(plain.first));
  // The view settings outlive the page, in the browser's storage.
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  assert.equal((await geometry(page)).k, 8);
  assert.deepEqual(await menuItemState(page, '表示', 'IDM_GRID'), { disabled: false, checked: false });
  assert.deepEqual(page.errors, []);
});

test('painting, picking up, selecting, moving, flipping, filling, undo and redo act on the cells', async () => {
  const page = await openPage(browser);
  const cells = blankCells();
  cells[41] = { code: 0x01, attr: 0x62 };  // 'A', yellow on red, at (1, 1)
  cells[42] = { code: 0xF1, attr: 0x40 };  // top-left sub-block, green on black, at (2, 1)
  await openScreen(page, 'start.txt', screenText(cells));
  const blank = at(blankCells(), 0, 0);

  // The right button picks the cell up; the pen paints it, a drag paints on.
  await clickCell(page, 1, 1, { button: 'right' });
  await page.keyboard.press('y');
  await clickCell(page, 5, 5);
  await dragCells(page, [5, 6], [9, 6]);
  let now = await savedCells(page);
  for (const [x, y] of [[5, 5], [5, 6], [7, 6], [9, 6]]) assert.deepEqual(at(now, x, y), at(cells, 1, 1), `(${x}, ${y})`);
  assert.deepEqual(at(now, 10, 6), blank);

  // Undo takes the stroke back whole; redo replays it.
  const painted = now;
  await page.keyboard.press('Control+z');
  now = await savedCells(page);
  assert.deepEqual(at(now, 7, 6), blank);
  assert.deepEqual(at(now, 5, 5), at(cells, 1, 1));
  await page.keyboard.press('Control+y');
  assert.deepEqual(await savedCells(page), painted);

  // A selection dragged by its inside moves its cells; a click outside drops them.
  await page.keyboard.press('m');
  await dragCells(page, [1, 1], [2, 1]);
  await dragCells(page, [1, 1], [11, 11]);
  // While it floats, the block shows where it was dragged.
  const floating = blankCells();
  floating[11 * 40 + 11] = at(cells, 1, 1);
  floating[11 * 40 + 12] = at(cells, 2, 1);
  const expected = cli('render', writeScratch('floating.txt', screenText(floating)), '-', '--zoom', '2', '--grid', 'cross');
  await nextFrame(page);
  const shown = await differences(page, expected, 8 + 11 * 16, 8 + 11 * 16, { crop: [11 * 16, 11 * 16, 32, 16] });
  assert.equal(shown.count, 0, JSON.stringify(shown.first));
  await clickCell(page, 30, 20);
  now = await savedCells(page);
  assert.deepEqual([at(now, 11, 11), at(now, 12, 11)], [at(cells, 1, 1), at(cells, 2, 1)]);
  // What the block leaves behind is blank: code 00, white on black.
  const cleared = { code: 0, attr: 0x70 };
  assert.deepEqual([at(now, 1, 1), at(now, 2, 1)], [cleared, cleared]);

  // Flipped left to right from the menu: the cells change places and the
  // sub-block picture turns (top-left becomes top-right).
  await dragCells(page, [11, 11], [12, 11]);
  await chooseMenu(page, '編集', menuText('IDM_FLIPLR'));
  await clickCell(page, 30, 20);
  now = await savedCells(page);
  assert.deepEqual(at(now, 11, 11), { code: 0xF2, attr: 0x40 });
  assert.equal(at(now, 12, 11).code, at(cells, 1, 1).code);

  // Filling the selection paints every cell of it with the pen's cell.
  await dragCells(page, [20, 2], [22, 3]);
  await chooseMenu(page, '編集', menuText('IDM_FILL'));
  now = await savedCells(page);
  for (let y = 2; y <= 3; ++y) for (let x = 20; x <= 22; ++x) assert.deepEqual(at(now, x, y), at(cells, 1, 1));
  assert.deepEqual(at(now, 23, 3), blank);

  // The fill tool floods the blank cells around the one clicked, up to the
  // filled rectangle: the rectangle's inside is untouched.
  const beforeFlood = now;
  await page.keyboard.press('2');  // a red foreground for the pen
  await page.keyboard.press('p');
  await clickCell(page, 0, 24);
  now = await savedCells(page);
  assert.equal(at(now, 39, 0).attr >> 4 & 7, 2);
  assert.deepEqual(at(now, 21, 2), at(beforeFlood, 21, 2));
  assert.deepEqual(at(now, 0, 24), at(now, 39, 0));
  await page.keyboard.press('Control+z');
  assert.deepEqual(await savedCells(page), beforeFlood);

  // With Ctrl the right button takes the character and leaves the colours,
  // with Shift the colours and leaves the character.
  await page.keyboard.press('y');
  await page.keyboard.down('Control');
  await clickCell(page, 11, 11, { button: 'right' });
  await page.keyboard.up('Control');
  await clickCell(page, 30, 3);
  await page.keyboard.down('Shift');
  await clickCell(page, 12, 11, { button: 'right' });
  await page.keyboard.up('Shift');
  await clickCell(page, 31, 3);
  now = await savedCells(page);
  assert.deepEqual(at(now, 30, 3), { code: 0xF2, attr: 0x22 });
  assert.deepEqual(at(now, 31, 3), { code: 0xF2, attr: at(cells, 1, 1).attr });
  assert.deepEqual(page.errors, []);
});

test('the text dialog types a block in the code page the conversion reads, and keeps the text', async () => {
  const page = await openPage(browser);
  await chooseMenu(page, '編集', menuText('IDM_TEXTINPUT'));
  const dialog = page.locator('dialog[data-dialog=IDD_TEXTINPUT]');
  await dialog.locator('textarea').fill('');
  await dialog.locator('textarea').pressSequentially('AB日');
  await dialog.locator('textarea').press('Enter');
  await dialog.locator('textarea').pressSequentially('ア');
  await dialog.locator('button', { hasText: 'OK' }).click();
  await page.keyboard.press('y');  // another tool drops the block
  const now = await savedCells(page);
  // 'A' and 'B' are display codes 01 and 02 of the machine; the kanji and
  // the kana become characters of the second line's cells, not blanks.
  assert.deepEqual([at(now, 1, 1).code, at(now, 2, 1).code], [0x01, 0x02]);
  assert.notEqual(at(now, 3, 1).code, at(now, 4, 1).code);
  assert.notDeepEqual(at(now, 1, 2), at(now, 1, 3));
  // The dialog opens again with the text as typed, through code page 932.
  await chooseMenu(page, '編集', menuText('IDM_TEXTINPUT'));
  assert.equal(await dialog.locator('textarea').inputValue(), 'AB日\nア');
  await dialog.locator('button', { hasText: 'Cancel' }).click();
  assert.deepEqual(page.errors, []);
});

test('saving downloads the core writer\'s bytes for the screen shown; exports are the core\'s too', async () => {
  const page = await openPage(browser);
  await page.keyboard.press('y');
  await dragCells(page, [3, 3], [20, 12]);
  await page.keyboard.press('x');  // the colours swapped
  await dragCells(page, [20, 3], [3, 12]);
  const saved = await save(page, 'drawn.txt');
  assert.equal(saved.name, 'drawn.txt');
  assert.deepEqual(saved.bytes, cli('normalize', saved.path, '-'));
  await nextFrame(page);
  const d = await differences(page, cli('render', saved.path, '-', '--zoom', '2', '--grid', 'cross'), 8, 8);
  assert.equal(d.count, 0, JSON.stringify(d.first));
  // Saved: no longer modified, and named after the file.
  assert.equal(await page.title(), 'drawn.txt - Vexa');

  for (const [id, extension] of [['IDM_EXPORTMZF', 'mzf'], ['IDM_EXPORTASM', 'asm'], ['IDM_EXPORTBIN', 'bin']]) {
    const download = page.waitForEvent('download');
    await chooseMenu(page, 'ファイル', 'エクスポート', menuText(id));
    const file = await download;
    assert.equal(file.suggestedFilename(), `drawn.${extension}`);
    const path = writeScratch(`page.${extension}`, '');
    await file.saveAs(path);
    assert.deepEqual(readFileSync(path), cli('export', saved.path, '-', '--format', extension), extension);
  }

  // A frame set from the selection plays in the animation MZF at the
  // player's first speed, as vexa-cli makes it from the same frame.
  await page.keyboard.press('m');
  await dragCells(page, [2, 2], [5, 6]);
  await chooseMenu(page, 'アニメーション', menuText('IDM_FRAME1'));
  const download = page.waitForEvent('download');
  await chooseMenu(page, 'ファイル', 'エクスポート', menuText('IDM_EXPORTMZFANIM'));
  const animation = writeScratch('page-anim.mzf', '');
  await (await download).saveAs(animation);
  const frames = writeScratch('frames.txt', '1 2 2 5 6\n');
  assert.deepEqual(readFileSync(animation), cli('export', saved.path, '-', '--format', 'mzf', '--frames', frames, '--animate'));
  assert.deepEqual(page.errors, []);
});

test('a file that is no screen file is refused with the editor\'s message and changes no cell', async () => {
  const page = await openPage(browser);
  await page.keyboard.press('y');
  await clickCell(page, 4, 4);
  const before = await save(page, 'kept.txt');
  const broken = screenText(sampleCells()).replace(/,[^,]*$/, '').replace(',', ';');
  await openScreen(page, 'broken.txt', broken);
  const shown = await answerMessage(page);
  assert.deepEqual(shown, { message: text('IDS_NOT_BRISEL'), caption: text('IDS_ERROR_CAPTION') });
  // The cells stay; the document is untitled, as a refused file leaves it.
  assert.match(await page.title(), /^無題/);
  const after = await save(page, 'after.txt');
  assert.deepEqual(after.bytes, before.bytes);
  assert.deepEqual(page.errors, []);
});

// Where the canvas shows orange (the palette cursor's frame, and frame
// outlines): the smallest box around it.
function orangeBox(page) {
  return page.evaluate(() => {
    const c = document.getElementById('canvas');
    const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const box = { left: Infinity, top: Infinity, right: -1, bottom: -1 };
    for (let i = 0; i < data.length; i += 4) {
      if (data[i] !== 255 || data[i + 1] !== 128 || data[i + 2] !== 0) continue;
      const x = (i / 4) % c.width, y = Math.floor(i / 4 / c.width);
      Object.assign(box, { left: Math.min(box.left, x), top: Math.min(box.top, y), right: Math.max(box.right, x), bottom: Math.max(box.bottom, y) });
    }
    return box;
  });
}

test('menu items show the core\'s states and the resource script\'s texts', async () => {
  const page = await openPage(browser);
  const titles = await page.locator('#menubar .menu-title').allTextContents();
  assert.deepEqual(titles, ['ファイル(F)', '編集(E)', '表示(V)', 'アニメーション(A)', 'セミグラフィック(S)', 'ヘルプ(H)']);
  assert.deepEqual(await menuItemState(page, '編集', 'IDM_UNDO'), { disabled: true, checked: false });
  assert.deepEqual(await menuItemState(page, '編集', 'IDM_COPY'), { disabled: true, checked: false });
  assert.deepEqual(await menuItemState(page, '表示', 'IDM_GRID'), { disabled: false, checked: true });
  await page.keyboard.press('y');
  await clickCell(page, 4, 4);
  await page.keyboard.press('Control+g');
  assert.deepEqual(await menuItemState(page, '編集', 'IDM_UNDO'), { disabled: false, checked: false });
  assert.deepEqual(await menuItemState(page, '表示', 'IDM_GRID'), { disabled: false, checked: false });
  // The title says the document is modified.
  assert.equal(await page.title(), '無題 * Vexa');
  // Keys that are no characters: F9 shows the marks, the space bar the
  // auxiliary palette, an arrow moves the palette cursor.
  await page.keyboard.press('F9');
  assert.deepEqual(await menuItemState(page, '表示', 'IDM_MARKBIT3'), { disabled: false, checked: true });
  await page.keyboard.press('Space');
  assert.deepEqual(await menuItemState(page, '表示', 'IDM_AUXPALETTE'), { disabled: false, checked: true });
  await page.keyboard.press('Space');
  await clickCell(page, 4, 5);
  const cursorBefore = await orangeBox(page);
  await page.keyboard.press('ArrowRight');
  await nextFrame(page);
  const cursorAfter = await orangeBox(page);
  // One entry to the right: by about the frame's own width.
  const step = cursorAfter.left - cursorBefore.left, size = cursorBefore.right - cursorBefore.left;
  assert.ok(step > 0 && step < 2 * size && cursorAfter.top === cursorBefore.top, JSON.stringify([cursorBefore, cursorAfter]));
  await clickCell(page, 5, 5);
  const painted = await savedCells(page);
  assert.notEqual(at(painted, 4, 5).code, at(painted, 5, 5).code);
  // A frame's item names what it does next.
  await page.keyboard.press('m');
  await dragCells(page, [2, 2], [5, 5]);
  const frame = page.locator(`.popup .item[data-id="${1061}"]`);
  await page.locator('#menubar .menu-title', { hasText: 'アニメーション' }).dispatchEvent('mousedown');
  assert.equal(await frame.textContent(), '1コマめに設定');
  await frame.click();
  await page.locator('#menubar .menu-title', { hasText: 'アニメーション' }).dispatchEvent('mousedown');
  assert.equal(await frame.textContent(), '1コマめをキャンセル');
  await page.keyboard.press('Escape');
  assert.deepEqual(page.errors, []);
});

test('a block copied to the browser\'s clipboard is block text that pastes back', async () => {
  const page = await openPage(browser);
  const cells = sampleCells();
  await openScreen(page, 'sample.txt', screenText(cells));
  await page.keyboard.press('m');
  await dragCells(page, [2, 3], [6, 4]);
  await page.keyboard.press('Control+c');
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  // The size line, then the codes and the attributes as hexadecimal bytes.
  const fields = copied.trim().split(/\s+/);
  assert.deepEqual(fields.slice(0, 2), ['5', '2']);
  const codes = [], attrs = [];
  for (let y = 3; y <= 4; ++y) for (let x = 2; x <= 6; ++x) { codes.push(at(cells, x, y).code); attrs.push(at(cells, x, y).attr); }
  assert.deepEqual(fields.slice(2).map((f) => parseInt(f, 16)), [...codes, ...attrs]);

  // Another program's block text pastes as a floating block where the
  // mouse last was, and drops with a click elsewhere.
  await page.evaluate(() => navigator.clipboard.writeText(' 2  1\n01 02\n47 47\n'));
  const p = await cellPoint(page, 30, 20);
  await page.mouse.move(p.x, p.y);
  await page.keyboard.press('Control+v');
  await clickCell(page, 0, 0);
  const now = await savedCells(page);
  const pasted = [];
  for (let x = 0; x < 40; ++x) for (let y = 0; y < 25; ++y) if (at(now, x, y).code === 1 && at(now, x, y).attr === 0x47) pasted.push([x, y]);
  assert.equal(pasted.length, 1);
  const [x, y] = pasted[0];
  assert.deepEqual(at(now, x + 1, y), { code: 2, attr: 0x47 });
  assert.deepEqual(page.errors, []);
});

// How many recovery copies the page's storage holds.
function copyCount() {
  return new Promise((resolve) => {
    const open = indexedDB.open('Vexa');
    open.onsuccess = () => {
      const count = open.result.transaction('recovery').objectStore('recovery').count();
      count.onsuccess = () => { open.result.close(); resolve(count.result); };
    };
  });
}

test('a reload with unsaved changes asks first, and the recovery copy comes back with the editor\'s question', async () => {
  const page = await openPage(browser);
  await page.keyboard.press('y');
  await dragCells(page, [1, 1], [12, 1]);
  const drawn = await savedCells(page);
  await clickCell(page, 20, 20);
  // A copy of the change is written within two seconds.
  const changed = await page.evaluate(() => Date.now());
  await until(() => page.evaluate((since) => new Promise((resolve) => {
    const open = indexedDB.open('Vexa');
    open.onsuccess = () => {
      const copies = open.result.transaction('recovery').objectStore('recovery').getAll();
      copies.onsuccess = () => { open.result.close(); resolve(copies.result.some((c) => c.time >= since)); };
    };
  }), changed));
  const asked = [];
  page.on('dialog', (d) => { asked.push(d.type()); d.accept(); });
  await page.reload();
  assert.deepEqual(asked, ['beforeunload']);
  const question = await answerMessage(page, 'yes');
  assert.deepEqual(question, { message: text('IDS_RECOVER'), caption: text('IDS_CAPTION') });
  await page.waitForSelector('body[data-ready=true]');
  const recovered = await savedCells(page);
  for (let x = 1; x <= 12; ++x) assert.deepEqual(at(recovered, x, 1), at(drawn, x, 1));
  assert.notDeepEqual(at(recovered, 20, 20), at(blankCells(), 0, 0));
  assert.deepEqual(page.errors, []);
});

test('a picture converts as vexa-cli converts it, lies over the canvas as the overlay, and the frames play', async () => {
  const page = await openPage(browser);
  // The team's sample screen drawn as a picture: a PNG the browser and
  // vexa-cli decode alike.
  const sample = writeScratch('picture-source.txt', screenText(sampleCells()));
  const picture = cli('export', sample, '-', '--format', 'png', '--zoom', '1');
  await chooseFileFor(page, () => chooseMenu(page, 'ファイル', menuText('IDM_CONVERTPICTURE')), 'picture.png', picture, 'image/png');
  const dialog = page.locator('dialog[data-dialog=IDD_CONVERT]');
  await dialog.getByLabel('文字').check();
  await dialog.getByLabel('網目模様').check();
  await dialog.getByLabel('元の画像を下絵として重ねる').uncheck();
  await dialog.locator('button', { hasText: 'OK' }).click();
  const converted = await save(page, 'converted.txt');
  const pictureFile = writeScratch('picture.png', picture);
  const wanted = cli('import', pictureFile, '-', '--mode', 'chars', '--fit', '--dither', 'pattern');
  assert.deepEqual(converted.bytes, cli('normalize', writeScratch('wanted.txt', wanted), '-'));

  // The same picture as the overlay: the canvas blends it in until the
  // overlay is hidden again.
  const plain = cli('render', converted.path, '-', '--zoom', '2', '--grid', 'cross');
  await chooseFileFor(page, () => chooseMenu(page, 'ファイル', menuText('IDM_LOADOVERLAY')), 'picture.png', picture, 'image/png');
  await nextFrame(page);
  assert.ok((await differences(page, plain, 8, 8)).count > 10000);
  await chooseMenu(page, '表示', menuText('IDM_SHOWOVERLAY'));
  await nextFrame(page);
  assert.equal((await differences(page, plain, 8, 8)).count, 0);

  // A frame plays in the player, drawn as the canvas draws its cells.
  await page.keyboard.press('m');
  await dragCells(page, [3, 2], [9, 6]);
  await chooseMenu(page, 'アニメーション', menuText('IDM_FRAME1'));
  await chooseMenu(page, 'アニメーション', menuText('IDM_ANIMSTART'));
  const player = page.locator('dialog.player canvas');
  await player.waitFor();
  assert.deepEqual(await player.evaluate((c) => [c.width, c.height]), [7 * 16, 5 * 16]);
  const cells = cli('render', converted.path, '-', '--zoom', '2');
  const d = await differences(page, cells, 0, 0, { canvas: 'dialog.player canvas', crop: [3 * 16, 2 * 16, 7 * 16, 5 * 16] });
  assert.equal(d.count, 0, JSON.stringify(d.first));
  assert.equal((await menuItemState(page, 'アニメーション', 'IDM_FRAME1')).disabled, true);
  await page.locator('dialog.player button').click();
  assert.equal((await menuItemState(page, 'アニメーション', 'IDM_FRAME1')).disabled, false);
  assert.deepEqual(page.errors, []);
});

test('a screen file dropped on the page opens', async () => {
  const page = await openPage(browser);
  const cells = sampleCells();
  const transfer = await page.evaluateHandle((text) => {
    const t = new DataTransfer();
    t.items.add(new File([text], 'dropped.txt', { type: 'text/plain' }));
    return t;
  }, screenText(cells));
  await page.dispatchEvent('#canvas', 'dragover', { dataTransfer: transfer });
  await page.dispatchEvent('#canvas', 'drop', { dataTransfer: transfer });
  await page.waitForFunction(() => document.title.startsWith('dropped.txt'));
  assert.deepEqual(await savedCells(page), readScreen(screenText(cells)));
  assert.deepEqual(page.errors, []);
});

test('the exit item asks the discard question, and leaves no recovery copy behind', async () => {
  const page = await openPage(browser);
  await page.keyboard.press('y');
  await clickCell(page, 6, 6);
  await until(() => page.evaluate(copyCount).then((n) => n > 0));
  const asked = [];
  page.on('dialog', (d) => { asked.push(d.type()); d.accept(); });
  await chooseMenu(page, 'ファイル', menuText('IDM_EXIT'));
  assert.deepEqual(await answerMessage(page, 'no'), { message: text('IDS_DISCARD'), caption: text('IDS_CAPTION') });
  assert.match(page.url(), /vexa\.html$/);
  await chooseMenu(page, 'ファイル', menuText('IDM_EXIT'));
  await answerMessage(page, 'yes');
  await page.waitForURL('about:blank');
  assert.deepEqual(asked, []);
  // Opened again, the page finds no copy to offer.
  await page.goto(pathToFileURL(pagePath).href);
  await page.waitForSelector('body[data-recovery-offered=true]');
  assert.equal(await page.locator('dialog').count(), 0);
  assert.equal(await page.evaluate(copyCount), 0);
  assert.deepEqual(page.errors, []);
});

test('the English interface comes from the script\'s English block, is kept, and Japanese comes back', async () => {
  const page = await openPage(browser);
  const titlesOf = (language) => resources.languages[language].menus.VexaMenu.map((m) => plain(m.text));
  const shownTitles = () => page.locator('#menubar .menu-title').allTextContents();
  assert.deepEqual(await shownTitles(), titlesOf('ja'));
  await chooseMenu(page, '表示', '言語', 'English');
  assert.deepEqual(await shownTitles(), titlesOf('en'));
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  assert.deepEqual(await shownTitles(), titlesOf('en'));
  // Messages follow too.
  await openScreen(page, 'broken.txt', 'not a screen');
  const english = resources.languages.en.strings;
  assert.deepEqual(await answerMessage(page), { message: english[ids.IDS_NOT_BRISEL], caption: english[ids.IDS_ERROR_CAPTION] });
  assert.notEqual(english[ids.IDS_NOT_BRISEL], text('IDS_NOT_BRISEL'));
  await chooseMenu(page, 'View', 'Language', '日本語');
  assert.deepEqual(await shownTitles(), titlesOf('ja'));
  assert.deepEqual(page.errors, []);
});
