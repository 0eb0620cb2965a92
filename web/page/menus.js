'use strict';
// The menu bar from the resource script's menu, its states from the core's
// rules each time a menu opens, as the Win32 editor refreshes its popups.
const menuBar = document.getElementById('menubar');
let openPopups = [];   // the open popup elements, outermost first
let openTitle = null;  // the menu bar title whose popup is open
// States an item keeps between openings, starting as the resource has them.
const itemStates = new Map();

function closeMenus() {
  for (const p of openPopups) p.remove();
  openPopups = [];
  openTitle?.classList.remove('open');
  openTitle = null;
}

function itemState(item) {
  if (!itemStates.has(item)) itemStates.set(item, { enabled: !item.grayed, checked: item.checked, radio: false });
  const state = itemStates.get(item);
  if (!core._vexa_is_command(item.id)) return state;
  const bits = core._vexa_menu_state(item.id);
  if (bits & 1) state.enabled = (bits & 2) !== 0;
  if (bits & 4) state.checked = (bits & 8) !== 0;
  state.radio = (bits & 16) !== 0;
  return state;
}

// What an item says now: frame items name what choosing them does; the
// recent-file list of the page is always empty.
function itemText(item) {
  const frame = item.id - ids.IDM_FRAME1;
  if (frame >= 0 && frame < 9)
    return formatText(text(core._vexa_frame_defined(frame) ? 'IDS_FRAME_CANCEL' : 'IDS_FRAME_SET'), frame + 1);
  return item.text;
}

function openPopup(items, x, y, level) {
  for (const p of openPopups.splice(level)) p.remove();
  const popup = document.createElement('div');
  popup.className = 'popup';
  popup.setAttribute('role', 'menu');
  for (const item of items) {
    if (item.separator) {
      popup.append(document.createElement('hr'));
      continue;
    }
    const row = document.createElement('div');
    row.className = 'item';
    row.setAttribute('role', 'menuitem');
    const { shortcut } = splitMenuText(item.text);
    const label = document.createElement('span');
    label.append(...labelNodes(item.items ? item.text : itemText(item)));
    row.append(label);
    if (shortcut) row.append(Object.assign(document.createElement('span'), { className: 'shortcut', textContent: shortcut }));
    if (item.items) {
      row.classList.add('submenu');
      row.addEventListener('mouseenter', () => {
        for (const r of popup.children) r.classList?.remove('open');
        row.classList.add('open');
        const box = row.getBoundingClientRect();
        openPopup(item.items, box.right - 2, box.top - 3, level + 1);
      });
    } else {
      row.dataset.id = item.id;
      const state = itemState(item);
      row.classList.toggle('disabled', !state.enabled);
      row.classList.toggle(state.radio ? 'radio' : 'checked', state.checked);
      row.setAttribute('aria-disabled', String(!state.enabled));
      row.addEventListener('mouseenter', () => {
        for (const p of openPopups.splice(level + 1)) p.remove();
        for (const r of popup.children) r.classList?.remove('open');
      });
      row.addEventListener('click', () => {
        if (!state.enabled) return;
        closeMenus();
        runCommand(item.id);
      });
    }
    popup.append(row);
  }
  popup.style.left = `${x}px`;
  popup.style.top = `${y}px`;
  document.body.append(popup);
  openPopups.push(popup);
  // Kept within the window.
  const box = popup.getBoundingClientRect();
  if (box.right > innerWidth) popup.style.left = `${Math.max(0, innerWidth - box.width)}px`;
  if (box.bottom > innerHeight) popup.style.top = `${Math.max(0, innerHeight - box.height)}px`;
}

function openMenu(title, menu) {
  closeMenus();
  refreshClipboardText();
  openTitle = title;
  title.classList.add('open');
  const box = title.getBoundingClientRect();
  openPopup(menu.items, box.left, box.bottom, 0);
}

function buildMenuBar() {
  closeMenus();
  menuBar.replaceChildren();
  itemStates.clear();
  for (const menu of resource('menus', 'VexaMenu')) {
    const title = document.createElement('div');
    title.className = 'menu-title';
    title.setAttribute('role', 'menuitem');
    title.dataset.key = splitMenuText(menu.text).key;
    title.append(...labelNodes(menu.text));
    title.addEventListener('mousedown', (e) => {
      e.preventDefault();
      if (openTitle === title) closeMenus();
      else openMenu(title, menu);
    });
    title.addEventListener('mouseenter', () => { if (openTitle && openTitle !== title) openMenu(title, menu); });
    menuBar.append(title);
  }
}

// Alt with a menu's access key opens it; Escape closes.
function menuKey(e) {
  if (e.key === 'Escape' && openTitle) {
    closeMenus();
    return true;
  }
  if (!e.altKey || e.ctrlKey || e.metaKey) return false;
  const title = [...menuBar.children].find((t) => t.dataset.key && t.dataset.key === e.key.toLowerCase());
  if (!title) return false;
  const index = [...menuBar.children].indexOf(title);
  openMenu(title, resource('menus', 'VexaMenu')[index]);
  return true;
}

document.addEventListener('mousedown', (e) => {
  if (openTitle && !e.target.closest('.popup, #menubar')) closeMenus();
});
