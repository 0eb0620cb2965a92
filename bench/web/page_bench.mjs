// How fast the page is, in Debian's headless Chromium: the page ready to
// paint after opening, the time from a pen stroke's pointer event to the
// canvas showing it at x2, and the page's size.
//   node bench/web/page_bench.mjs [build/web/vexa.html]
// (playwright-core from tests/web; run `npm ci --prefix tests/web` first).
import { statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const require = createRequire(resolve('tests/web/package.json'));
const { chromium } = require('playwright-core');
const page = resolve(process.argv[2] ?? 'build/web/vexa.html');
const kOpenings = 10;
const kStrokes = 5;

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const percentile = (values, p) => [...values].sort((a, b) => a - b)[Math.min(values.length - 1, Math.floor(values.length * p))];
const ms = (v) => `${v.toFixed(2)} ms`;

const browser = await chromium.launch({ executablePath: process.env.VEXA_CHROMIUM ?? '/usr/bin/chromium', args: ['--no-sandbox'] });
const ready = [];
for (let i = 0; i < kOpenings; ++i) {
  const context = await browser.newContext({ viewport: { width: 1600, height: 1000 } });
  const tab = await context.newPage();
  await tab.goto(pathToFileURL(page).href);
  await tab.waitForSelector('body[data-ready=true]');
  ready.push(await tab.evaluate(() => performance.getEntriesByName('vexa-ready')[0].startTime));
  await context.close();
}

const context = await browser.newContext({ viewport: { width: 1600, height: 1000 } });
const tab = await context.newPage();
await tab.goto(pathToFileURL(page).href);
await tab.waitForSelector('body[data-ready=true]');
const width = await tab.locator('#canvas').evaluate((c) => c.width);
const box = await tab.locator('#canvas').boundingBox();
await tab.keyboard.press('y');
// How long the browser holds a pointer event before the page gets it
// (Chromium hands moves over with the frames).
await tab.evaluate(() => {
  window.delivery = [];
  addEventListener('pointermove', (e) => window.delivery.push(performance.now() - e.timeStamp), true);
});
for (let stroke = 0; stroke < kStrokes; ++stroke) {
  const y = box.y + 8 + (2 * stroke + 1) * 16 + 8;
  await tab.mouse.move(box.x + 16, y);
  await tab.mouse.down();
  for (let x = 16; x < 640; x += 4) await tab.mouse.move(box.x + x, y + (x % 32 < 16 ? 0 : 16));
  await tab.mouse.up();
}
const frames = await tab.evaluate(() => performance.getEntriesByName('vexa-pointer-to-canvas').map((m) => m.duration));
const delivery = await tab.evaluate(() => window.delivery);
await browser.close();

console.log(`page size:               ${statSync(page).size} bytes`);
console.log(`ready to paint:          median ${ms(median(ready))}, worst ${ms(Math.max(...ready))} over ${kOpenings} openings (aim 1000 ms)`);
const zoom = width === 524 ? 1 : (width - 489) / 463 + 1;
console.log(`pen stroke at x${zoom} frame:     median ${ms(median(frames))}, 95% ${ms(percentile(frames, 0.95))}, worst ${ms(Math.max(...frames))} over ${frames.length} pointer events, from the page's handler to the canvas (aim 4 ms)`);
console.log(`  before that, the browser: median ${ms(median(delivery))} from the event's time stamp to the page's handler`);
