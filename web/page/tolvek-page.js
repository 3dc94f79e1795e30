// The page around the show: loads the WebAssembly build and hosts its sound (the built-in tune,
// music files, folders and playlists, the microphone, a tab's sound), the player's commands,
// full screen, the status line, the dialogs, the media keys and the offline copy. The show, its
// host loop, the key map, the list's order and the frame picture are in tolvek.wasm.
import {BufferTrack, LiveSource, audio, decoderScale, ensureAudio, setVolume, timeline} from './tolvek-sound.js';
import {dropContents, limits, pickedContents} from './tolvek-drop.js';
import {connectMediaSession, showNowPlaying} from './tolvek-media.js';

const params = new URLSearchParams(location.search);
const element = (id) => document.getElementById(id);
const stage = element('stage');
const canvas = element('show');
const dialog = element('message-box');

// What tests and curious visitors can read: window.tolvekPage.
const page = {
  state: 'loading', // loading, running, ended, failed
  firstFrameMs: null, // since navigation started
  notices: [],
  debugLines: [],
  messageBoxes: [],
  turnGapsMs: [],
  savedFrames: [], // the PNGs P offered, newest last (kept for tests: their bytes)
};
window.tolvekPage = page;

// The newest lines stay on screen a while, a few at a time.
const shownNotices = [];
function notice(text) {
  page.notices.push(text);
  shownNotices.push(text);
  if (shownNotices.length > 4) shownNotices.shift();
  element('notice').textContent = shownNotices.join('\n');
  clearTimeout(notice.timer);
  notice.timer = setTimeout(() => {
    shownNotices.length = 0;
    element('notice').textContent = '';
  }, 10000);
}

function overlay(text) {
  element('overlay-text').textContent = text || '';
  element('overlay').hidden = !text;
}

// ?clock=S fixes the seed clock as --clock does; ?silence shows silence as --silence does;
// ?fps=N gives frame k the sound at (k - 1) / N seconds, as `tolvek render --fps N`; ?step
// renders only when window.tolvekPage.advance(n) asks.
const options = {clock: NaN, silence: params.has('silence'), fps: 0, step: params.has('step')};
if (params.has('clock')) {
  const clock = Number(params.get('clock'));
  if (Number.isInteger(clock)) options.clock = clock;
  else notice(`clock=${params.get('clock')} is not a whole number of seconds; the clock is not fixed.`);
}
if (params.has('fps')) {
  const fps = Number(params.get('fps'));
  if (Number.isInteger(fps) && fps >= 1 && fps <= 1000) options.fps = fps;
  else notice(`fps=${params.get('fps')} is not a whole number from 1 to 1000; the sound follows the clock.`);
}
timeline.fps = options.fps;
page.options = options;

// ---------------------------------------------------------------- the module's strings

function cString(text) {
  const bytes = new TextEncoder().encode(text + '\0');
  const at = Module._malloc(bytes.length);
  Module.HEAPU8.set(bytes, at);
  return at;
}

function withCString(text, use) {
  const at = cString(text);
  try {
    return use(at);
  } finally {
    Module._free(at);
  }
}

function jsString(at) {
  const heap = Module.HEAPU8;
  let end = at;
  while (heap[end]) ++end;
  return new TextDecoder().decode(heap.subarray(at, end));
}

// The player's commands by name, numbered as the module numbers them.
const Command = {};
function learnCommands() {
  for (let i = 0; i < Module._tolvek_command_count(); ++i) Command[jsString(Module._tolvek_command_name(i))] = i;
  page.commands = {...Command};
  // The keys, as the module maps them, for the status line's tooltip.
  const keys = [[32, 'Space'], [37, 'Left'], [38, 'Up'], [39, 'Right'], [40, 'Down']];
  for (let c = 65; c <= 90; ++c) keys.push([c, String.fromCharCode(c)]);
  const names = Object.fromEntries(Object.entries(Command).map(([name, number]) => [number, name]));
  page.keyMap = keys.map(([code, key]) => [key, Module._tolvek_command_for_key(code)])
    .filter(([, command]) => command >= 0).map(([key, command]) => `${key} ${names[command]}`);
  element('status').title = `Keys: ${page.keyMap.join(', ')}; Escape ends the show.`;
}

// ---------------------------------------------------------------- sound

const sound = {
  kind: 'none', // none, tune, files, live
  track: null,
  live: null,
  files: new Map(), // the module's name of each dropped file -> the File
  finished: false, // the list played out
  tuneBuffer: null,
  choice: 0, // every choice of sound gets the next number; the latest one wins
  walk: 0, // likewise each walk through the list
  opening: null, // the name being decoded
};
page.sound = sound;

// A choice the visitor made; work for an older one that finishes late is thrown away.
function choose() {
  sound.choice += 1;
  sound.walk += 1;
  return sound.choice;
}

function closeSound() {
  // A source chosen is sound on its way: the hint to click for it has done its work.
  if (page.state === 'running') overlay('');
  if (sound.track) sound.track.stop();
  if (sound.live) sound.live.close();
  sound.track = null;
  sound.live = null;
  sound.kind = 'none';
  sound.finished = false;
}

// The tune, the microphone and a tab's sound replace the list.
function forgetList() {
  Module._tolvek_list_clear();
  sound.files.clear();
}

function useSilence() {
  choose();
  closeSound();
  updateStatus();
}

function tuneBuffer() {
  if (sound.tuneBuffer) return sound.tuneBuffer;
  const started = performance.now();
  const frames = Module._tolvek_tune_prepare();
  const rate = Module._tolvek_tune_sample_rate();
  const buffer = audio.context.createBuffer(2, frames, rate);
  const chunk = 65536;
  const left = Module._malloc(4 * chunk);
  const right = Module._malloc(4 * chunk);
  for (let at = 0; at < frames; at += chunk) {
    const n = Math.min(chunk, frames - at);
    Module._tolvek_tune_read(at, n, left, right);
    buffer.copyToChannel(Module.HEAPF32.subarray(left >> 2, (left >> 2) + n), 0, at);
    buffer.copyToChannel(Module.HEAPF32.subarray(right >> 2, (right >> 2) + n), 1, at);
  }
  Module._free(left);
  Module._free(right);
  Module._tolvek_tune_release();
  page.tuneSynthesisMs = performance.now() - started;
  sound.tuneBuffer = buffer;
  return buffer;
}

function useTune() {
  if (!ensureAudio(notice)) return;
  choose();
  closeSound();
  forgetList();
  // The tune's floats are k / 32768 exactly.
  sound.track = new BufferTrack('built-in tune', tuneBuffer(), true, {positive: 32768, negative: 32768});
  sound.kind = 'tune';
  sound.track.play();
  updateStatus();
}

// A list entry plays when nothing else of the list does: the tune, live sound, silence, or a
// list that played out or was stopped.
function listIdle() {
  return sound.kind !== 'files' || !sound.track || sound.finished || sound.track.transport === 'stopped';
}

// What was dropped or picked joins the list (web/host/web_list.cpp says how); when the list is
// idle the first of it starts, and takes over from what played only once it has decoded.
async function addToList(haulPromise) {
  if (!ensureAudio(notice)) return;
  // The drop is a choice from this moment: one made while its files are read wins over it.
  const asked = sound.choice;
  const haul = await haulPromise;
  for (const path of haul.unread) notice(`${path}: cannot be read; left out.`);
  if (haul.capped) {
    notice(`The drop holds more than ${limits.files} files or ${limits.folders} folders; the rest are left out.`);
  }
  if (haul.items.length === 0) return;
  // Playlists are read here, within the size the module reads at most.
  const playlistBytes = Module._tolvek_playlist_max_bytes() + 1;
  const isPlaylist = (path) => withCString(path, (at) => Module._tolvek_is_playlist_name(at) === 1);
  const contents = await Promise.all(haul.files.map(async ({path, file}) => {
    if (!isPlaylist(path)) return null;
    try {
      return new Uint8Array(await file.slice(0, playlistBytes).arrayBuffer());
    } catch (e) {
      return new Uint8Array(0);
    }
  }));
  if (asked !== sound.choice) return;
  const idle = listIdle();
  if (idle && sound.kind !== 'files') forgetList();
  const root = jsString(Module._tolvek_drop_begin());
  for (const folder of haul.folders) withCString(folder, (at) => Module._tolvek_drop_put(at, 0, 0, 1));
  haul.files.forEach(({path, file}, i) => {
    const bytes = contents[i];
    const data = bytes && bytes.length ? Module._malloc(bytes.length) : 0;
    if (data) Module.HEAPU8.set(bytes, data);
    if (withCString(path, (at) => Module._tolvek_drop_put(at, data, bytes ? bytes.length : 0, 0)) === 1) {
      sound.files.set(root + path, file);
    }
    if (data) Module._free(data);
  });
  for (const item of haul.items) withCString(item, (at) => Module._tolvek_drop_item(at));
  const start = Module._malloc(4);
  const joined = Module._tolvek_drop_expand(idle ? 1 : 0, start);
  const position = Module.HEAP32[start >> 2];
  Module._free(start);
  page.lastDrop = {joined, position, idle};
  if (joined === 0) {
    notice('Nothing to play among what was dropped; the show goes on with the sound it had.');
    updateStatus();
    return;
  }
  if (!idle) {
    notice(joined === 1 ? 'One file joins the list.' : `${joined} files join the list.`);
    updateStatus();
    return;
  }
  const choice = choose();
  if (!(await openWalk(position, Walk.Forward, choice, 'playing'))) {
    if (choice === sound.choice) notice('None of the dropped files could be played; the show goes on with the sound it had.');
  }
}

// How a walk goes on past an entry that will not decode (the module's PlayOrder::Walk).
const Walk = {Forward: 0, Backward: 1, Onward: 2};

// Decodes the list's entries from `position` on, as the module's order walks, until one plays;
// `transport` is what it starts as. False when none did or a later choice came meanwhile.
async function openWalk(position, walk, choice, transport) {
  const mine = ++sound.walk;
  const current = () => choice === sound.choice && mine === sound.walk;
  for (let p = position; p >= 0; p = Module._tolvek_list_failed(p, walk)) {
    const name = jsString(Module._tolvek_list_file(p));
    const file = sound.files.get(name);
    sound.opening = file ? file.name : name;
    let buffer = null;
    let why = '';
    try {
      buffer = await audio.context.decodeAudioData(await file.arrayBuffer());
    } catch (e) {
      why = e && e.name === 'NotReadableError' ? 'the file cannot be read' : 'the browser cannot decode this file';
    }
    if (!current()) return false;
    sound.opening = null;
    if (!buffer) {
      notice(`${file ? file.name : name}: ${why}; skipped.`);
      continue;
    }
    Module._tolvek_list_opened(p);
    closeSound();
    sound.kind = 'files';
    const track = new BufferTrack(file.name, buffer, false, decoderScale);
    sound.track = track;
    track.onEnded = () => {
      if (sound.track !== track) return;
      const next = Module._tolvek_list_next();
      openWalk(next, Walk.Onward, sound.choice, 'playing').then((opened) => {
        if (!opened && sound.track === track) {
          sound.finished = true;
          updateStatus();
        }
      });
    };
    if (transport === 'playing' && (page.state === 'running' || options.step)) track.play();
    else {
      track.transport = 'paused';
      sound.resumeOnStart = transport === 'playing';
    }
    updateStatus();
    return true;
  }
  if (current()) sound.opening = null;
  return false;
}

async function useMicrophone() {
  if (!navigator.mediaDevices || !navigator.mediaDevices.getUserMedia) {
    notice('This browser offers no microphone to this page (pages get one over https or on localhost).');
    return;
  }
  if (!ensureAudio(notice)) return;
  const choice = choose();
  let stream;
  try {
    stream = await navigator.mediaDevices.getUserMedia({
      audio: {echoCancellation: false, noiseSuppression: false, autoGainControl: false},
      video: false,
    });
  } catch (e) {
    if (choice !== sound.choice) return;
    notice(e.name === 'NotAllowedError'
      ? 'The microphone was refused; the show goes on with the sound it had.'
      : `No microphone (${e.message || e.name}); the show goes on with the sound it had.`);
    return;
  }
  startLive('microphone', stream, choice);
}

async function useTabSound() {
  if (!navigator.mediaDevices || !navigator.mediaDevices.getDisplayMedia) {
    notice('This browser cannot share a tab\'s or the screen\'s sound with a page.');
    return;
  }
  if (!ensureAudio(notice)) return;
  const choice = choose();
  let stream;
  try {
    stream = await navigator.mediaDevices.getDisplayMedia({video: true, audio: true});
  } catch (e) {
    if (choice !== sound.choice) return;
    notice(e.name === 'NotAllowedError'
      ? 'Sharing was refused; the show goes on with the sound it had.'
      : `No shared sound (${e.message || e.name}); the show goes on with the sound it had.`);
    return;
  }
  if (stream.getAudioTracks().length === 0) {
    stream.getTracks().forEach((t) => t.stop());
    if (choice === sound.choice) {
      notice('Nothing was shared with sound: choose a tab (or the screen) and tick "Share audio".');
    }
    return;
  }
  startLive('shared sound', stream, choice);
}

function startLive(name, stream, choice) {
  // Granted after the visitor chose something else: that choice stands, this closes.
  if (choice !== sound.choice) {
    stream.getTracks().forEach((t) => t.stop());
    return;
  }
  closeSound();
  forgetList();
  if (audio.context.state === 'suspended') audio.context.resume();
  sound.live = new LiveSource(name, stream, (live) => {
    if (sound.live === live) {
      notice(`${live.name} ended.`);
      useSilence();
    }
  });
  sound.kind = 'live';
  updateStatus();
}

// The list moves on: `position` from the module's order, or restarts the playing entry.
function moveInList(position, walk) {
  const track = sound.track;
  if (position < 0) {
    if (track && walk === Walk.Backward) track.seekTo(0);
    return;
  }
  const transport = track && track.transport === 'playing' ? 'playing' : 'paused';
  openWalk(position, walk, sound.choice, transport);
}

function saveFrame() {
  const size = Module._tolvek_frame_png_size();
  if (size === 0) {
    notice('No frame on screen to save yet.');
    return;
  }
  const at = Module._tolvek_frame_png();
  const bytes = Module.HEAPU8.slice(at, at + size);
  const name = jsString(Module._tolvek_frame_png_name());
  page.savedFrames.push({name, bytes});
  if (page.savedFrames.length > 4) page.savedFrames.shift();
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], {type: 'image/png'}));
  link.download = name;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  notice(`Saved the frame on screen as ${name}.`);
}

// The player's commands, from the module's key map (and the media keys, which name them too).
function act(command) {
  const track = sound.track;
  const files = sound.kind === 'files';
  switch (command) {
    case Command.Play:
      if (files && sound.finished) {
        Module._tolvek_list_reshuffle();
        sound.finished = false;
        openWalk(Module._tolvek_list_first(), Walk.Forward, sound.choice, 'playing');
      } else if (track) track.play();
      if (sound.live) sound.live.paused = false;
      break;
    case Command.Pause:
      if (track) track.togglePause();
      if (sound.live) sound.live.paused = !sound.live.paused;
      break;
    case Command.Stop:
      if (track) track.stop();
      break;
    case Command.Previous:
      if (files) moveInList(Module._tolvek_list_previous(), Walk.Backward);
      else if (track) track.seekTo(0);
      break;
    case Command.Next:
      if (files) moveInList(Module._tolvek_list_next(), Walk.Onward);
      break;
    case Command.SeekBack:
      if (track) track.seek(-5);
      break;
    case Command.SeekForward:
      if (track) track.seek(5);
      break;
    case Command.VolumeUp:
    case Command.VolumeDown:
      setVolume(Math.min(1, Math.max(0, Math.round(audio.volume * 10 + (command === Command.VolumeUp ? 1 : -1)) / 10)));
      break;
    case Command.ToggleShuffle:
      Module._tolvek_list_set_shuffle(Module._tolvek_list_shuffle() ? 0 : 1);
      break;
    case Command.ToggleRepeat:
      Module._tolvek_list_set_repeat(Module._tolvek_list_repeat() ? 0 : 1);
      break;
    case Command.SaveFrame:
      saveFrame();
      break;
    default:
      break;
  }
  updateStatus();
}
page.act = (name) => act(Command[name]);

connectMediaSession({
  play: () => act(Command.Play),
  pause: () => {
    if (sound.track && sound.track.transport === 'playing') act(Command.Pause);
    if (sound.live && !sound.live.paused) act(Command.Pause);
  },
  stop: () => act(Command.Stop),
  previous: () => act(Command.Previous),
  next: () => act(Command.Next),
  seekTo: (seconds) => {
    if (sound.track) sound.track.seekTo(seconds);
    updateStatus();
  },
  seekBy: (seconds) => {
    if (sound.track) sound.track.seek(seconds);
    updateStatus();
  },
});

// ---------------------------------------------------------------- status line

function clockText(seconds) {
  const s = Math.max(0, Math.floor(seconds));
  if (s >= 3600) return `${Math.floor(s / 3600)}:${String(Math.floor(s / 60) % 60).padStart(2, '0')}:${String(s % 60).padStart(2, '0')}`;
  return `${Math.floor(s / 60)}:${String(s % 60).padStart(2, '0')}`;
}

// Said once when sound plays but the browser's output has not started a while after.
let heldSince = 0;
function noticeHeldOutput() {
  const held = audio.context && audio.context.state !== 'running' &&
    ((sound.track && sound.track.transport === 'playing') || sound.live);
  if (!held) {
    heldSince = 0;
    return;
  }
  if (heldSince === 0) heldSince = performance.now();
  if (performance.now() - heldSince > 2000 && !page.outputHeldSaid) {
    page.outputHeldSaid = true;
    notice('The browser plays no sound yet (no sound device, or it waits for a click on the page); the show follows the music meanwhile.');
  }
}
audio.onRunning = () => {
  if (sound.track) sound.track.outputStarted();
};

// As the player's status line: what plays, its place in the list, time, volume, shuffle, repeat.
function updateStatus() {
  if (page.state === 'loading' || page.state === 'failed') return;
  let source = 'silence';
  let time = '';
  let title = '';
  let state = 'none';
  if (sound.track) {
    const t = sound.track;
    const entries = sound.kind === 'files' ? Module._tolvek_list_entries() : 0;
    source = entries > 1 ? `${t.name} (${Module._tolvek_list_position() + 1}/${entries})` : t.name;
    time = `${clockText(t.position())} / ${clockText(t.seconds)}`;
    const transport = sound.finished ? 'finished' : t.transport;
    if (transport !== 'playing') time += ` [${transport}]`;
    title = t.name;
    state = t.transport === 'playing' ? 'playing' : 'paused';
    showNowPlaying(title, state, t.position(), t.loop ? 0 : t.seconds);
  } else if (sound.live) {
    source = sound.live.name;
    time = `${clockText((performance.now() - sound.live.startedAt) / 1000)}${sound.live.paused ? ' [paused]' : ''}`;
    showNowPlaying(sound.live.name, sound.live.paused ? 'paused' : 'playing', 0, 0);
  } else {
    showNowPlaying(null, 'none', 0, 0);
  }
  if (sound.opening) source += ` (opening ${sound.opening})`;
  noticeHeldOutput();
  if (page.state === 'ended') time += ' [show ended]';
  const modes = [Module._tolvek_list_shuffle() ? 'shuffle' : '', Module._tolvek_list_repeat() ? 'repeat' : '']
    .filter(Boolean).join('  ');
  element('status-source').textContent = source;
  element('status-time').textContent = time;
  element('status-volume').textContent = sound.live ? '' : `vol ${Math.round(audio.volume * 100)}%`;
  element('status-modes').textContent = modes;
  document.title = title ? `${title} - Quenari Tolvek` : 'Quenari Tolvek';
}
setInterval(updateStatus, 250);

let restTimer = null;
function wake() {
  stage.classList.remove('resting');
  clearTimeout(restTimer);
  restTimer = setTimeout(() => stage.classList.add('resting'), 2500);
}
stage.addEventListener('mousemove', wake);
wake();

// ---------------------------------------------------------------- the show

let gestureEvent = null; // the click or key that first let sound start
let timer = null;

function firstGesture(event) {
  if (gestureEvent || page.state === 'loading') return false;
  gestureEvent = event;
  if (!options.silence && sound.kind === 'none' && !sound.opening) useTune();
  if (page.state === 'running') overlay('');
  return true;
}

const waitingBoxes = [];
function showNextBox() {
  const box = waitingBoxes.shift();
  element('message-caption').textContent = box.caption;
  element('message-text').textContent = box.text;
  dialog.showModal();
}

function dialogOpen() {
  return dialog.open || waitingBoxes.length > 0;
}

function turnOnce() {
  const presentedBefore = Module._tolvek_frames_presented();
  const alive = Module._tolvek_turn() === 1;
  if (page.firstFrameMs === null && Module._tolvek_frames_presented() > presentedBefore) {
    page.firstFrameMs = performance.now();
  }
  if (!alive) showEnded();
  return alive;
}

let lastTurnAt = 0;
function turn() {
  timer = null;
  if (page.state !== 'running') return;
  // A message box holds the show, as the desktop's modal box holds the player's thread.
  if (dialogOpen()) {
    timer = setTimeout(turn, 50);
    return;
  }
  const now = performance.now();
  if (lastTurnAt > 0 && page.turnGapsMs.length < 4000) page.turnGapsMs.push(now - lastTurnAt);
  lastTurnAt = now;
  if (turnOnce() && !options.step) timer = setTimeout(turn, Module._tolvek_delay_ms());
}

function startShow() {
  if (page.state === 'running') return;
  if (Module._tolvek_start(options.clock) !== 1) {
    page.state = 'failed';
    overlay('The show could not start (see the message above).');
    return;
  }
  page.state = 'running';
  page.starts = (page.starts || 0) + 1;
  if (sound.track && sound.track.transport === 'paused' && sound.resumeOnStart) sound.track.play();
  sound.resumeOnStart = false;
  overlay(!gestureEvent && !options.silence ? 'Click or press a key for sound' : '');
  lastTurnAt = 0;
  if (!options.step) timer = setTimeout(turn, 0);
  updateStatus();
}

function showEnded() {
  page.state = 'ended';
  page.ends = (page.ends || 0) + 1;
  clearTimeout(timer);
  timer = null;
  if (sound.track && sound.track.transport === 'playing') {
    sound.track.pause();
    sound.resumeOnStart = true;
  }
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  overlay('The show has ended. Click to start it again.');
  updateStatus();
}

// Tests and frame-by-frame looks: n turns at once, without waiting.
page.advance = (n) => {
  for (let i = 0; i < n && page.state === 'running'; ++i) {
    if (dialogOpen()) break;
    turnOnce();
  }
  return Module._tolvek_frames_rendered();
};
page.rendered = () => Module._tolvek_frames_rendered();
page.presented = () => Module._tolvek_frames_presented();
page.lastRenderMs = () => Module._tolvek_last_render_ms();
// The last presented frame: its indices (top row first) and its palette (red, green, blue).
page.frame = () => {
  const width = Module._tolvek_frame_width();
  const height = Module._tolvek_frame_height();
  const indices = Module._tolvek_frame_indices();
  const palette = Module._tolvek_frame_palette();
  return {
    width,
    height,
    indices: Module.HEAPU8.slice(indices, indices + width * height),
    palette: Module.HEAPU8.slice(palette, palette + 768),
  };
};
// SHA-256 of the indices followed by the palette, in hex.
page.frameDigest = async () => {
  const frame = page.frame();
  const bytes = new Uint8Array(frame.indices.length + 768);
  bytes.set(frame.indices);
  bytes.set(frame.palette, frame.indices.length);
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return [...digest].map((b) => b.toString(16).padStart(2, '0')).join('');
};
page.injectDisplayFault = (operation, code) => {
  withCString(operation, (name) => Module._tolvek_inject_display_fault(name, code | 0));
};
page.seedShuffle = (seed) => Module._tolvek_list_seed(seed | 0);
// The list as the module orders it: the file names, in playing order.
page.list = () => {
  const out = [];
  for (let p = 0; p < Module._tolvek_list_entries(); ++p) {
    const file = sound.files.get(jsString(Module._tolvek_list_file(p)));
    out.push(file ? file.name : '?');
  }
  return {names: out, position: Module._tolvek_list_position()};
};
page.status = () => ['status-source', 'status-time', 'status-volume', 'status-modes']
  .map((id) => element(id).textContent).filter(Boolean).join('  ');
// Set to an array, it collects what each real-time fill took: when, and which frames.
Object.defineProperty(page, 'fillLog', {get: () => timeline.fillLog, set: (v) => (timeline.fillLog = v)});
Object.defineProperty(page, 'decoderScale', {get: () => decoderScale});

// ---------------------------------------------------------------- page events

canvas.addEventListener('click', (event) => {
  if (firstGesture(event)) return;
  if (page.state === 'ended') startShow();
});
canvas.addEventListener('dblclick', () => {
  if (page.state === 'running') Module._tolvek_toggle_full_screen();
});
window.addEventListener('keydown', (event) => {
  if (dialogOpen()) return;
  firstGesture(event);
});
element('full-screen').addEventListener('click', (event) => {
  firstGesture(event);
  if (page.state === 'running') Module._tolvek_toggle_full_screen();
  else if (!document.fullscreenElement) stage.requestFullscreen().catch(() => {});
});
element('about').addEventListener('click', () => Module._tolvek_configure());
for (const [button, input] of [['pick-file', 'file-input'], ['pick-folder', 'folder-input']]) {
  element(button).addEventListener('click', (event) => {
    gestureEvent = gestureEvent || event;
    element(input).click();
  });
  element(input).addEventListener('change', (event) => {
    if (!gestureEvent) gestureEvent = event;
    const haul = pickedContents(event.target.files);
    event.target.value = '';
    addToList(Promise.resolve(haul));
  });
}
element('use-mic').addEventListener('click', (event) => {
  gestureEvent = gestureEvent || event;
  useMicrophone();
});
element('use-tab').addEventListener('click', (event) => {
  gestureEvent = gestureEvent || event;
  useTabSound();
});
element('use-tune').addEventListener('click', (event) => {
  gestureEvent = gestureEvent || event;
  useTune();
});
stage.addEventListener('dragover', (event) => {
  event.preventDefault();
  stage.classList.add('dropping');
});
stage.addEventListener('dragleave', () => stage.classList.remove('dropping'));
stage.addEventListener('drop', (event) => {
  event.preventDefault();
  stage.classList.remove('dropping');
  if (!gestureEvent) gestureEvent = event;
  if (page.state === 'loading') {
    notice('The show is still loading; drop again in a moment.');
    return;
  }
  addToList(dropContents(event.dataTransfer));
});
dialog.addEventListener('close', () => {
  if (waitingBoxes.length > 0) {
    showNextBox();
    return;
  }
  if (page.state === 'running' && !options.step && timer === null) timer = setTimeout(turn, 0);
});

// ---------------------------------------------------------------- the offline copy

// The service worker keeps the page, the module and the data pack for visits without a
// network; a new build is fetched in the background and used from the next load on.
function keepOffline() {
  if (!('serviceWorker' in navigator) || params.has('no-offline')) return;
  const hadCopy = navigator.serviceWorker.controller !== null;
  navigator.serviceWorker.register('tolvek-offline.js').then((registration) => {
    page.offline = 'registered';
    // Looking for a new build is the one request a kept page makes: when it finds no server,
    // the visitor learns where the show came from.
    if (hadCopy) {
      registration.update().catch(() => notice('No network: the show runs from the copy this browser keeps.'));
    }
    const ready = () => (page.offline = 'ready');
    if (registration.active) ready();
    else navigator.serviceWorker.ready.then(ready);
  }).catch((e) => {
    page.offline = `not available: ${e.message}`;
  });
}

// ---------------------------------------------------------------- loading

function load() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    page.state = 'failed';
    overlay('This browser cannot run WebAssembly, which the show needs. Try a current Firefox, Chrome, Edge or Safari.');
    element('status-source').textContent = 'no WebAssembly';
    return;
  }

  window.Module = {
    canvas,
    print: (line) => console.log(line),
    // The program's error output: lines for the visitor ("tolvek: ...") and the debugger channel.
    printErr: (line) => {
      page.debugLines.push(line);
      if (/^tolvek/.test(line)) notice(line);
      console.debug(line);
    },
    onAbort: (what) => {
      page.state = 'failed';
      overlay(`The show stopped: ${what}`);
    },
    onRuntimeInitialized: () => {
      learnCommands();
      element('status-source').textContent = 'silence';
      page.state = 'ready';
      if (options.silence) gestureEvent = 'silence';
      startShow();
      keepOffline();
    },
    tolvekHost: {
      fillSound: (left, right, frames, count, latencyMs, renderIndex) => {
        if (options.silence) return 0;
        if (sound.track && sound.track.transport !== 'stopped') {
          return sound.track.fill(frames, count, latencyMs, renderIndex);
        }
        if (sound.live) return sound.live.fill(left, right, count);
        return 0;
      },
      sampleRate: () => (sound.track ? sound.track.buffer.sampleRate : sound.live ? audio.context.sampleRate : 44100),
      channels: () => (sound.track ? sound.track.buffer.numberOfChannels : sound.live ? sound.live.channels : 2),
      paused: () => (sound.track ? sound.track.transport === 'paused' : sound.live ? sound.live.paused : false),
      act,
      report: notice,
    },
    // Each message box gets its own dialog, one after another, as each modal box of the
    // desktop waits for its OK before the next.
    tolvekMessageBox: (caption, text) => {
      page.messageBoxes.push({caption, text});
      waitingBoxes.push({caption, text});
      if (!dialog.open) showNextBox();
    },
    tolvekNotice: notice,
    tolvekKeysWanted: (event) => page.state === 'running' && !dialogOpen() && event !== gestureEvent,
  };

  const script = document.createElement('script');
  script.src = 'tolvek.js';
  script.onerror = () => {
    page.state = 'failed';
    overlay('tolvek.js could not be loaded from this site.');
  };
  document.body.appendChild(script);
}

load();
