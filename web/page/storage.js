'use strict';
// Settings in the browser's local storage, and the recovery copy in
// IndexedDB, kept while the document has unsaved changes so that a crash,
// a closed tab or a reload loses nothing.
const kSettingsKey = 'Vexa.ini';
const kRunPrefix = 'Vexa recovery ';
const kRunEndWait = 3000;  // ms

function loadSettings() {
  let stored = '';
  try {
    stored = localStorage.getItem(kSettingsKey) ?? '';
  } catch { /* storage refused: the defaults */ }
  withText(stored, (p) => core._vexa_load_settings(p));
  followLanguage(false);
}

// The texts in the language the core's setting names: the menus and the
// title at once, dialogs at their next opening.
function followLanguage(rebuild = true) {
  language = core._vexa_language() === 1 && kResources.languages.en ? 'en' : 'ja';
  document.documentElement.lang = language;
  if (!rebuild) return;
  buildMenuBar();
  refreshTitle();
}

function saveSettings() {
  try {
    localStorage.setItem(kSettingsKey, stringAt(core._vexa_settings_text()));
  } catch { /* storage refused: the settings last for this visit */ }
}

// --- Recovery copies: one per page visit (a run), named by the run. A run
// holds a lock named after it while it lasts, so that other pages leave
// its copy alone.
const recovery = { run: '', db: null, haveCopy: false, written: -1 };

function openRecoveryStore() {
  return new Promise((resolve) => {
    try {
      const request = indexedDB.open('Vexa', 1);
      request.onupgradeneeded = () => request.result.createObjectStore('recovery');
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => resolve(null);
    } catch {
      resolve(null);
    }
  });
}

// One request on the store; resolves to its result, or undefined on failure.
function recoveryRequest(mode, make) {
  return new Promise((resolve) => {
    if (!recovery.db) return resolve(undefined);
    try {
      const request = make(recovery.db.transaction('recovery', mode).objectStore('recovery'));
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => resolve(undefined);
    } catch {
      resolve(undefined);
    }
  });
}

async function deleteRecoveryCopy() {
  if (recovery.haveCopy) await recoveryRequest('readwrite', (s) => s.delete(recovery.run));
  recovery.haveCopy = false;
  recovery.written = -1;
}

async function stepRecovery() {
  const step = core._vexa_recovery_step(recovery.haveCopy ? 1 : 0, recovery.written);
  if (step === 2) await deleteRecoveryCopy();
  if (step !== 1) return;
  const changes = core._vexa_recovery_stamp();
  const copy = withText(documentFile.name, (p) => returnedBytes(core._vexa_recovery_text(p)));
  if (await recoveryRequest('readwrite', (s) => s.put({ copy, time: Date.now() }, recovery.run)) !== undefined) {
    recovery.written = changes;
    recovery.haveCopy = true;
  }
}

// Whether a run's page has gone: its lock can be had within a moment (a
// page being reloaded lets go of it only as it unloads).
async function runEnded(run) {
  if (!navigator.locks) return true;
  try {
    return await navigator.locks.request(run, { signal: AbortSignal.timeout(kRunEndWait) }, () => true);
  } catch {
    return false;
  }
}

// The run's lock is held until the page goes, and let go of as it goes, so
// that a reload finds the copy at once.
function holdRun() {
  navigator.locks?.request(recovery.run, () => new Promise((release) => addEventListener('pagehide', release, { once: true })));
}

async function startRecovery() {
  recovery.run = kRunPrefix + (crypto.randomUUID?.() ?? `${Date.now()}-${Math.random()}`);
  holdRun();
  // A page kept by the browser on going back comes back with its copy.
  addEventListener('pageshow', (e) => { if (e.persisted) holdRun(); });
  recovery.db = await openRecoveryStore();
  setInterval(stepRecovery, core._vexa_recovery_period());
}

// The newest copy of a run that has ended, taken over by this run; offered
// with the editor's question.
async function offerRecovery() {
  const runs = (await recoveryRequest('readonly', (s) => s.getAllKeys()) ?? []).filter((run) => run !== recovery.run);
  const ended = await Promise.all(runs.map(runEnded));
  let newest = null;
  for (const [i, run] of runs.entries()) {
    if (!ended[i]) continue;
    const entry = await recoveryRequest('readonly', (s) => s.get(run));
    if (entry && (!newest || entry.time > newest.entry.time)) newest = { run, entry };
  }
  if (!newest) return;
  await recoveryRequest('readwrite', (s) => s.delete(newest.run));
  await recoveryRequest('readwrite', (s) => s.put(newest.entry, recovery.run));
  recovery.haveCopy = true;  // ours now: whatever follows, it goes or gets rewritten
  const bytes = newest.entry.copy instanceof Uint8Array ? newest.entry.copy : new Uint8Array();
  const name = withBytes(bytes, (p, n) => stringAt(core._vexa_read_recovery(p, n)));
  if (name === null || await showMessage(text('IDS_RECOVER'), text('IDS_CAPTION'), 'yesno') !== 'yes') {
    await deleteRecoveryCopy();
    return;
  }
  Object.assign(documentFile, { name, handle: null });
  core._vexa_restore_recovery();
  refreshTitle();
}
