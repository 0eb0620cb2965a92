// Makes the one self-contained page: the page's HTML, CSS and scripts, the
// compiled core (WebAssembly and font inside), the menus, keys, dialogs and
// texts of the resource script, and the toolbar picture.
//   node make_page.mjs OUT.html vexa_web.js vexa.rc resource.h toolbar.bmp icon.ico
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { readResources } from './rc.mjs';

const [out, core, rc, header, toolbar, icon] = process.argv.slice(2);
const here = join(dirname(fileURLToPath(import.meta.url)), 'page');
const read = (path) => readFileSync(path, 'utf8');
// Text inside a script element must not end it early.
const inline = (js) => js.replace(/<\/(script)/gi, '<\\/$1');
const dataUrl = (path, type) => `data:${type};base64,${readFileSync(path).toString('base64')}`;

const resources = readResources(read(rc), read(header));
const scripts = ['text.js', 'core.js', 'ui.js', 'menus.js', 'dialogs.js', 'files.js', 'storage.js', 'main.js'];
const page = read(join(here, 'vexa.html'))
  .replace('/*STYLE*/', () => read(join(here, 'vexa.css')))
  .replace('ICON', () => dataUrl(icon, 'image/x-icon'))
  .replace('/*RESOURCES*/', () => inline(`const kResources = ${JSON.stringify(resources)};\n` +
    `const kToolbarImage = ${JSON.stringify(dataUrl(toolbar, 'image/bmp'))};`))
  .replace('/*CORE*/', () => inline(read(core)))
  .replace('/*PAGE*/', () => inline(scripts.map((name) => read(join(here, name))).join('\n')));
writeFileSync(out, page);
