'use strict';
// The editor's dialogs as HTML dialogs, built from the resource script's
// dialog templates: the same caption, controls, texts and choices. Each
// control is found by its ID.
function buildDialog(name) {
  const template = resource('dialogs', ids[name]);
  const dialog = document.createElement('dialog');
  dialog.dataset.dialog = name;
  const body = Object.assign(document.createElement('div'), { className: 'body' });
  const buttons = Object.assign(document.createElement('div'), { className: 'buttons' });
  const controls = {};
  let group = null, groupBox = null, radioGroup = '';
  const inside = (r, box) => box && r[0] >= box[0] && r[1] >= box[1] && r[0] + r[2] <= box[0] + box[2] && r[1] + r[3] <= box[1] + box[3];
  for (const c of template.controls) {
    let element = null;
    const into = inside(c.rect, groupBox) ? group : body;
    if (c.style.includes('WS_GROUP')) radioGroup = `${name}-${c.id}`;
    switch (c.kind) {
      case 'GROUPBOX':
        group = document.createElement('fieldset');
        group.append(Object.assign(document.createElement('legend'), { textContent: splitMenuText(c.text).plain }));
        groupBox = c.rect;
        body.append(group);
        continue;
      case 'EDITTEXT':
        element = document.createElement(c.style.includes('ES_MULTILINE') ? 'textarea' : 'input');
        into.append(element);
        break;
      case 'AUTOCHECKBOX': case 'AUTORADIOBUTTON': {
        const label = document.createElement('label');
        label.className = 'check';
        element = Object.assign(document.createElement('input'), { type: c.kind === 'AUTOCHECKBOX' ? 'checkbox' : 'radio' });
        if (c.kind === 'AUTORADIOBUTTON') element.name = radioGroup;
        label.append(element, ...labelNodes(c.text));
        into.append(label);
        break;
      }
      case 'DEFPUSHBUTTON': case 'PUSHBUTTON':
        element = document.createElement('button');
        element.append(...labelNodes(c.text));
        buttons.append(element);
        break;
      case 'Static':
        element = document.createElement('canvas');
        into.append(element);
        break;
      case 'msctls_trackbar32':
        element = Object.assign(document.createElement('input'), { type: 'range', title: c.text });
        into.append(element);
        break;
      default: continue;
    }
    controls[c.id] = element;
  }
  body.append(buttons);
  dialog.append(captionBar(template.caption), body);
  return { dialog, controls };
}

// The text dialog: starts with the kept text; false when cancelled.
function askForText() {
  return new Promise((resolve) => {
    const { dialog, controls } = buildDialog('IDD_TEXTINPUT');
    const edit = controls[ids.IDC_TEXTEDIT], vertical = controls[ids.IDC_VERTICAL];
    const keptPointer = core._vexa_kept_text();
    const kept = core.HEAPU8.subarray(keptPointer, core.HEAPU8.indexOf(0, keptPointer));
    edit.value = textOfShiftJis(kept).replace(/\r\n/g, '\n');
    vertical.checked = core._vexa_kept_vertical() !== 0;
    let accepted = false;
    controls[ids.IDOK].addEventListener('click', () => { accepted = true; dialog.close(); });
    controls[ids.IDCANCEL].addEventListener('click', () => dialog.close());
    dialog.addEventListener('close', () => {
      // Lines end as the Win32 edit control ends them.
      if (accepted) withBytes(shiftJisOf(edit.value.replace(/\r?\n/g, '\r\n')), (p, n) => core._vexa_accept_text(p, n, vertical.checked ? 1 : 0));
      resolve(accepted);
    }, { once: true });
    showModal(dialog, edit);
  });
}

// The conversion dialog over the decoded picture: the preview follows every
// choice. Resolves to [mode, fit, dither, asOverlay] or null when cancelled.
function askConvertOptions() {
  return new Promise((resolve) => {
    const { dialog, controls } = buildDialog('IDD_CONVERT');
    const defaults = int32s(core._vexa_convert_defaults(), 4);
    const firsts = [ids.IDC_CONVERT_BLOCKS, ids.IDC_CONVERT_FIT, ids.IDC_CONVERT_NODITHER];
    firsts.forEach((first, i) => { controls[first + defaults[i]].checked = true; });
    controls[ids.IDC_CONVERT_OVERLAY].checked = defaults[3] !== 0;
    const preview = controls[ids.IDC_CONVERT_PREVIEW];
    preview.width = core._vexa_view(5);
    preview.height = core._vexa_view(6);
    preview.style.flexBasis = '100%';
    const choice = () => firsts.map((first) => [0, 1, 2].find((i) => controls[first + i]?.checked) ?? 0);
    const show = () => {
      const [mode, fit, dither] = choice();
      preview.getContext('2d').putImageData(imageAt(core._vexa_convert_preview(mode, fit, dither), preview.width, preview.height), 0, 0);
    };
    for (const first of firsts) for (let i = 0; i < 3; ++i) controls[first + i]?.addEventListener('change', show);
    let answer = null;
    controls[ids.IDOK].addEventListener('click', () => {
      answer = [...choice(), controls[ids.IDC_CONVERT_OVERLAY].checked ? 1 : 0];
      dialog.close();
    });
    controls[ids.IDCANCEL].addEventListener('click', () => dialog.close());
    dialog.addEventListener('close', () => resolve(answer), { once: true });
    show();
    showModal(dialog, controls[ids.IDOK]);
  });
}

// The animation player: not modal, so the canvas stays editable.
let player = null;

function openPlayer() {
  const layout = int32s(core._vexa_player_open(), 7);
  if (!layout) return;
  const { dialog, controls } = buildDialog('IDD_PLAYER');
  dialog.classList.add('player');
  const picture = document.createElement('canvas');
  picture.width = layout[4];
  picture.height = layout[5];
  dialog.querySelector('.body').prepend(picture);
  const slider = controls[ids.IDC_SPEED];
  Object.assign(slider, { min: 0, max: 100, step: 1, value: core._vexa_player_start_position() });
  slider.style.flexBasis = '100%';
  const step = () => picture.getContext('2d').putImageData(imageAt(core._vexa_player_step(), layout[4], layout[5]), 0, 0);
  const play = (interval) => {
    clearInterval(player?.timer);
    step();
    player.timer = setInterval(step, interval);
  };
  slider.addEventListener('input', () => {
    const interval = core._vexa_player_speed(Number(slider.value));
    if (interval) play(interval);
  });
  const close = () => {
    clearInterval(player.timer);
    core._vexa_player_close();
    dialog.remove();
    player = null;
  };
  controls[ids.IDOK].addEventListener('click', close);
  player = { dialog, timer: 0 };
  document.body.append(dialog);
  dialog.show();
  play(layout[6]);
}
