// Shared set-up of the page's tests: Debian's Chromium driven by Playwright,
// the page opened from disk, and the native vexa-cli as the reference for
// what the core draws and writes.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';
import { readResources } from '../../web/rc.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const pagePath = process.env.VEXA_PAGE ?? join(root, 'build/web/vexa.html');
export const cliPath = process.env.VEXA_CLI ?? join(root, 'build/native/vexa-cli');
export const resources = readResources(readFileSync(join(root, 'res/vexa.rc'), 'utf8'),
  readFileSync(join(root, 'res/resource.h'), 'utf8'));
export const ids = resources.ids;
export const ja = resources.languages.ja;
export const scratch = mkdtempSync(join(tmpdir(), 'vexa-web-'));

export function launch() {
  return chromium.launch({ executablePath: process.env.VEXA_CHROMIUM ?? '/usr/bin/chromium', args: ['--no-sandbox'] });
}

// A fresh profile with the page open and ready. Without file pickers the
// page opens through the file input and saves as downloads, as it does in
// browsers that lack them.
export async function openPage(browser, { pickers = false } = {}) {
  const context = await browser.newContext({ acceptDownloads: true, viewport: { width: 1600, height: 1000 } });
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  if (!pickers) await context.addInitScript(() => { delete window.showOpenFilePicker; delete window.showSaveFilePicker; });
  const page = await context.newPage();
  // File choosers are caught from the start: turned on only when a test
  // waits for one, the catching could come after the click.
  page.on('filechooser', () => {});
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(pathToFileURL(pagePath).href);
  await page.waitForSelector('body[data-ready=true]');
  page.errors = errors;
  return page;
}

// The canvas's panel geometry for its size: zoom factor k, cell size s.
export async function geometry(page) {
  const box = await page.locator('#canvas').boundingBox();
  const width = await page.locator('#canvas').evaluate((c) => c.width);
  const k = width === 524 ? 1 : (width - 489) / 463 + 1;
  return { box, k, s: 8 * k };
}

// The middle of cell (column, row) in page coordinates.
export async function cellPoint(page, column, row) {
  const { box, s } = await geometry(page);
  return { x: box.x + 8 + column * s + s / 2, y: box.y + 8 + row * s + s / 2 };
}

export async function clickCell(page, column, row, options) {
  const p = await cellPoint(page, column, row);
  await page.mouse.click(p.x, p.y, options);
}

export async function dragCells(page, from, to) {
  const a = await cellPoint(page, ...from), b = await cellPoint(page, ...to);
  await page.mouse.move(a.x, a.y);
  await page.mouse.down();
  await page.mouse.move((a.x + b.x) / 2, (a.y + b.y) / 2);
  await page.mouse.move(b.x, b.y);
  await page.mouse.up();
}

// A menu item chosen with the mouse: the top menu by its text, then the
// items along the path.
export async function chooseMenu(page, ...path) {
  await page.locator('#menubar .menu-title', { hasText: path[0] }).dispatchEvent('mousedown');
  for (const step of path.slice(1, -1)) await page.locator('.popup .item.submenu', { hasText: step }).hover();
  await page.locator('.popup .item:not(.submenu)', { hasText: path[path.length - 1] }).first().click();
}

// What a menu item shows when its menu opens: {disabled, checked, radio}.
export async function menuItemState(page, top, item) {
  await page.locator('#menubar .menu-title', { hasText: top }).dispatchEvent('mousedown');
  const row = page.locator(`.popup .item[data-id="${ids[item]}"]`);
  const state = await row.evaluate((r) => ({
    disabled: r.classList.contains('disabled'), checked: r.classList.contains('checked') || r.classList.contains('radio'),
  }));
  await page.keyboard.press('Escape');
  return state;
}

// The plain text of a menu text of the resource script.
export const plain = (text) => text.split(/[\b\t]/)[0].replace(/&(.)/g, '$1');

export function menuText(id) {
  const find = (items) => {
    for (const item of items) {
      if (item.id === ids[id]) return plain(item.text);
      const inner = item.items && find(item.items);
      if (inner) return inner;
    }
    return null;
  };
  return find(ja.menus.VexaMenu);
}

// --- Screen files in their documented format: 3000 comma-separated
// numbers, the cell words (code, set bit 8, mark bit 9), the foregrounds and
// the backgrounds.
export function blankCells() {
  return Array.from({ length: 1000 }, () => ({ code: 0, attr: 0 }));
}

export function screenText(cells) {
  const words = cells.map((c) => (c.code & 0xFF) | ((c.attr & 0x80) << 1) | ((c.attr & 0x08) << 6));
  return [...words, ...cells.map((c) => (c.attr >> 4) & 7), ...cells.map((c) => c.attr & 7)].join(',');
}

export function readScreen(text) {
  const n = String(text).split(',').map(Number);
  return Array.from({ length: 1000 }, (_, i) => ({
    code: n[i] & 0xFF,
    attr: ((n[i] & 0x100) >> 1) | ((n[i] & 0x200) >> 6) | (n[1000 + i] << 4) | n[2000 + i],
  }));
}

export const at = (cells, column, row) => cells[row * 40 + column];

// Chooses `path` in the file input the next step opens.
export async function chooseFileFor(page, step, name, buffer, mimeType) {
  const chooser = page.waitForEvent('filechooser');
  await step();
  await (await chooser).setFiles({ name, mimeType, buffer });
}

// Opens a screen file through the page's file input, as a user does.
export async function openScreen(page, name, text) {
  const chooser = page.waitForEvent('filechooser');
  await page.keyboard.press('Control+o');
  await (await chooser).setFiles({ name, mimeType: 'text/plain', buffer: Buffer.from(text) });
}

// Saves with Ctrl+S; an untitled document's name is typed into the
// browser's prompt. Returns the downloaded bytes and their name.
export async function save(page, name = 'saved.txt') {
  const prompt = (d) => d.accept(name);
  page.once('dialog', prompt);
  const download = page.waitForEvent('download');
  await page.keyboard.press('Control+s');
  const d = await download;
  page.off('dialog', prompt);
  const path = join(mkdtempSync(join(scratch, 'save-')), d.suggestedFilename());
  await d.saveAs(path);
  return { bytes: readFileSync(path), name: d.suggestedFilename(), path };
}

export const savedCells = async (page) => readScreen((await save(page)).bytes.toString('latin1'));

export function cli(...args) {
  return execFileSync(cliPath, args);
}

export function writeScratch(name, bytes) {
  const path = join(scratch, name);
  writeFileSync(path, bytes);
  return path;
}

// How many pixels of a canvas's area at (x, y) differ from the picture in
// `png` (or its part `crop`: x, y, width, height); compared in the page,
// with the first difference.
export async function differences(page, png, x, y, { canvas = '#canvas', crop = null } = {}) {
  return page.evaluate(async ({ data, x, y, canvas, crop }) => {
    const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
    const [cx, cy, width, height] = crop ?? [0, 0, bitmap.width, bitmap.height];
    const scratch = document.createElement('canvas');
    scratch.width = bitmap.width;
    scratch.height = bitmap.height;
    const c = scratch.getContext('2d');
    c.drawImage(bitmap, 0, 0);
    const want = c.getImageData(cx, cy, width, height).data;
    const got = document.querySelector(canvas).getContext('2d').getImageData(x, y, width, height).data;
    let count = 0, first = null;
    for (let i = 0; i < want.length; i += 4) {
      if (want[i] === got[i] && want[i + 1] === got[i + 1] && want[i + 2] === got[i + 2]) continue;
      if (!first) first = { x: (i / 4) % width, y: Math.floor(i / 4 / width), want: [...want.slice(i, i + 3)], got: [...got.slice(i, i + 3)] };
      ++count;
    }
    return { count, first, width, height };
  }, { data: png.toString('base64'), x, y, canvas, crop });
}

// The next picture the page shows.
export const nextFrame = (page) => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));

// The page's message box: its text, answered with the button `answer`.
export async function answerMessage(page, answer = 'ok') {
  const box = page.locator('dialog.message-box');
  await box.waitFor();
  const message = await box.locator('.message').textContent();
  const caption = await box.locator('.caption').textContent();
  await box.locator(`button[data-answer="${answer}"]`).click();
  return { message, caption };
}

export const text = (id) => ja.strings[ids[id]];

// Waits until `check` resolves to true, looking every 100 ms for 10 s.
export async function until(check) {
  for (const end = Date.now() + 10000; Date.now() < end; await new Promise((r) => setTimeout(r, 100)))
    if (await check()) return;
  throw new Error('waited in vain');
}
