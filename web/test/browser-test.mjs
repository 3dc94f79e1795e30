// Drives the show's page in Debian's Chromium and Firefox ESR (headless, puppeteer-core) and
// checks it against the native build: the frames of a fixed-clock run in silence and with a
// WAV equal `tolvek render`'s; the keys, full screen, the dialogs and the quit request; folders,
// playlists, shuffle, repeat, the saved frame, the media keys; what the page says of sound it
// cannot get; a later choice of sound winning over a file still decoding; the offline copy and
// its update. Prints the figures of cost, load and transfer per engine; with --shots DIR keeps
// screenshots of the page.
//
// node web/test/browser-test.mjs --site build/web --native build/release
//   [--engines chromium,firefox] [--only frames,show,...] [--shots docs/web]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import {available, engines} from './engines.mjs';
import {checkFolders, checkPlaylists} from './list-test.mjs';
import {checkOffline} from './offline-test.mjs';
import {checkSoundChoices} from './sound-test.mjs';
import {clickSample, clickSpacing, clickStart, makeWav, musicSample, nativeFrames, readIndexedPngBytes}
  from './native-frames.mjs';
import {serveSite} from './site-server.mjs';
import {Session} from './session.mjs';

const args = Object.fromEntries(
  process.argv.slice(2).reduce((pairs, arg, i, all) => {
    if (arg.startsWith('--')) pairs.push([arg.slice(2), all[i + 1]]);
    return pairs;
  }, []));
const site = path.resolve(args.site || 'build/web');
const native = path.resolve(args.native || 'build/release');
const shots = args.shots ? path.resolve(args.shots) : null;
const wanted = (args.engines || 'chromium,firefox').split(',');
// --only frames,show,folders,playlists,choices,clicks,offline: some of the checks.
const only = args.only ? args.only.split(',') : [];
const clock = 1234567;
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tolvek-web-test-'));
// Served under a path of its own: the site must not ask for anything above it.
const prefix = '/any/path/tolvek/';

let passed = 0;
let failed = 0;
let engineName = '';
function check(ok, what, detail = '') {
  if (ok) ++passed;
  else ++failed;
  console.log(`${ok ? 'PASS' : 'FAIL'} [${engineName}] ${what}${detail ? ': ' + detail : ''}`);
}
const figures = [];
const sayings = [];
function figure(text) {
  figures.push(`[${engineName}] ${text}`);
  console.log(`FIGURE [${engineName}] ${text}`);
}

// Pixels whose colour differs between two frames.
function differing(a, b) {
  let n = 0;
  for (let i = 0; i < a.indices.length; ++i) {
    const x = a.indices[i] * 3;
    const y = b.indices[i] * 3;
    if (a.palette[x] !== b.palette[y] || a.palette[x + 1] !== b.palette[y + 1] || a.palette[x + 2] !== b.palette[y + 2]) ++n;
  }
  return n;
}

function compare(name, webFrames, nativeFramesByNumber) {
  const unequal = [];
  for (const [f, web] of webFrames) {
    const want = nativeFramesByNumber.get(f);
    if (!want || want.digest !== web.digest) unequal.push(f);
  }
  check(unequal.length === 0, `${name}: frames ${[...webFrames.keys()].join(', ')} equal tolvek render's`,
    unequal.length ? `frames ${unequal.join(', ')} differ` : '');
}

// The native frames and sounds, made once for both engines.
const silenceFrames = [1, 2, 3, 400, 401, 402, 505, 590, 700, 719, 721, 2881, 2882, 2883, 2884, 2885, 2886,
  2887, 2888, 2889, 2890, 3300];
const wavFrames = [1, 2, 3, 400, 401, 402, 505, 590, 700, 719];
const wav = path.join(work, 'music.wav');
makeWav(wav, 30, musicSample);
const clicks = path.join(work, 'clicks.wav');
makeWav(clicks, 12, clickSample);
const needsFrames = only.length === 0 || only.includes('frames');
const nativeSilence = !needsFrames ? null : nativeFrames(native, work, clock, ['--silence'], silenceFrames, []);
const nativeWav = !needsFrames ? null : nativeFrames(native, work, clock, [wav], wavFrames, ['--fps', '40']);
const nativeCost = !needsFrames ? null : (await import('./native-cost.mjs')).nativeCost(native, work, clock);

async function frameChecks(session) {
  // -------------------------------------------------------------- silence
  let page = await session.open(`?clock=${clock}&silence&step`);
  const webSilence = await session.frames(page, silenceFrames.slice(0, 4), [2]);
  if (engineName === 'chromium') await session.shot(page, 'web-interlude.png');
  // P saves the frame on screen: the PNG's indices and palette are the show's frame 400 (the page stands at it).
  await page.keyboard.press('p');
  await page.evaluate(() => window.tolvekPage.advance(1));
  const saved = await page.evaluate(() => {
    const s = window.tolvekPage.savedFrames.at(-1);
    if (!s) return null;
    let text = '';
    for (let i = 0; i < s.bytes.length; i += 8192) text += String.fromCharCode(...s.bytes.subarray(i, i + 8192));
    return {name: s.name, bytes: btoa(text)};
  });
  if (saved) {
    const png = readIndexedPngBytes(Buffer.from(saved.bytes, 'base64'));
    const want = nativeSilence.get(400);
    check(png.width === 640 && png.height === 480 && png.indices.equals(want.indices) &&
      png.palette.equals(want.palette) && /^tolvek-\d{4}-\d\d-\d\d-\d{6}\.png$/.test(saved.name),
    'P saves the frame on screen as a PNG of exactly its indices and palette, named as the desktop names it',
    `${saved.name}, ${saved.bytes.length * 3 / 4 | 0} bytes`);
  } else {
    check(false, 'P saves the frame on screen as a PNG', 'nothing was saved');
  }
  for (const [f, v] of await session.frames(page, silenceFrames.slice(4).filter((f) => f > 400), [590, 700])) webSilence.set(f, v);
  compare('silence', webSilence, nativeSilence);

  await page.close();

  // The cost of Render (with the frame's conversion into the canvas) in the browser, frame by
  // frame over a whole cycle, against the native renderer over the same frames.
  page = await session.open(`?clock=${clock}&silence&step`);
  // The faster of two cycles: the machine is shared, and the first cycle also warms the engine.
  const cost = await page.evaluate(() => {
    const p = window.tolvekPage;
    const cycle = () => {
      const conversion0 = Module._tolvek_web_conversion_ms();
      const canvas0 = Module._tolvek_web_canvas_ms();
      const start = performance.now();
      p.advance(4180);
      const total = performance.now() - start;
      const conversion = Module._tolvek_web_conversion_ms() - conversion0;
      const canvas = Module._tolvek_web_canvas_ms() - canvas0;
      return {total, render: (total - conversion - canvas) / 4180, conversion: conversion / 4180, canvas: canvas / 4180};
    };
    const first = cycle();
    const second = cycle();
    return first.total < second.total ? first : second;
  });
  const browser = cost.render + cost.conversion;
  const nativeTotal = nativeCost.render + nativeCost.conversion;
  figure(`one cycle in silence (4180 frames), a frame: Render ${cost.render.toFixed(3)} ms + palette conversion ` +
    `${cost.conversion.toFixed(3)} ms (+ copy into the canvas ${cost.canvas.toFixed(3)} ms); native: Render ` +
    `${nativeCost.render.toFixed(3)} ms (tolvek render, its start taken out) + conversion ` +
    `${nativeCost.conversion.toFixed(3)} ms (BM_PresentConversion); Render + presenting, browser / native ` +
    `${(browser / nativeTotal).toFixed(2)}x (target at most 2x; with the canvas copy ` +
    `${((browser + cost.canvas) / nativeTotal).toFixed(2)}x)`);
  await page.close();

  // -------------------------------------------------------------- a WAV file
  page = await session.open(`?clock=${clock}&fps=40&step`);
  await session.upload(page, '#file-input', [wav]);
  await session.until(page, () => window.tolvekPage.sound.track !== null, 30000);
  const webWav = await session.frames(page, wavFrames, [590, 700]);
  if (engineName === 'chromium') await session.shot(page, 'web-tree.png');
  compare('music.wav at 40 frames a second', webWav, nativeWav);
  check(webWav.get(2).digest !== webSilence.get(2).digest, 'the WAV moves the trace (its frame 2 differs from silence\'s)');
  // The tree and the pixel field do not hear the sound: what differs from silence's frame of the
  // same number is the picture (and the ring).
  const quiet = differing(webWav.get(590), webSilence.get(590));
  const loud = differing(webWav.get(700), webSilence.get(700));
  check(loud > 3 * quiet, 'the tree phase\'s picture grows with the loudness',
    `pixels that differ from silence: quiet (frame 590) ${quiet}, loud (frame 700) ${loud}`);
  await page.close();
}

async function showChecks(session) {
  // -------------------------------------------------------------- real time: start, figures
  // Loads to the first frame, in a browser that has been running (the machine is shared: the
  // median of three), each fetching the whole site from the server.
  const loads = [];
  let sent = 0;
  for (let i = 0; i < 3; ++i) {
    const sentBefore = session.server.sentBytes;
    const visit = await session.open(`?clock=${clock}&silence`);
    await session.until(visit, () => window.tolvekPage.firstFrameMs !== null, 10000);
    loads.push(await visit.evaluate(() => window.tolvekPage.firstFrameMs));
    sent = session.server.sentBytes - sentBefore;
    await visit.close();
  }
  loads.sort((a, b) => a - b);
  const page = await session.open(`?clock=${clock}&silence`);
  await session.until(page, () => window.tolvekPage.rendered() > 80, 30000);
  if (engineName === 'chromium') await session.shot(page, 'web-start.png');
  const timing = await page.evaluate(() => {
    const gaps = window.tolvekPage.turnGapsMs.slice(5).sort((a, b) => a - b);
    return {mean: gaps.reduce((a, b) => a + b, 0) / gaps.length,
      p95: gaps[Math.floor(gaps.length * 0.95)], n: gaps.length};
  });
  figure(`load to first frame on localhost: median ${loads[1].toFixed(0)} ms of ${loads.map((l) => l.toFixed(0)).join(', ')} ` +
    `(navigation start to the first presented frame; target under 500 ms); transferred for a visit: ` +
    `${(sent / 1e6).toFixed(3)} MB gzip (target under 1 MB)`);
  figure(`frame timing (turn to turn, delayMs 25): mean ${timing.mean.toFixed(1)} ms, 95th percentile ` +
    `${timing.p95.toFixed(1)} ms over ${timing.n} turns`);

  // Escape closes the show window: the show ends; a click starts it again.
  await page.keyboard.press('Escape');
  await session.until(page, () => window.tolvekPage.state === 'ended', 5000);
  const ended = await page.evaluate(() => ({state: window.tolvekPage.state, ends: window.tolvekPage.ends}));
  check(ended.state === 'ended' && ended.ends === 1, 'Escape ends the show', JSON.stringify(ended));
  const before = await page.evaluate(() => window.tolvekPage.rendered());
  await page.mouse.click(480, 300);
  await session.until(page, (n) => window.tolvekPage.rendered() > n + 20, 5000, before);
  const again = await page.evaluate(() => ({state: window.tolvekPage.state, starts: window.tolvekPage.starts,
    rendered: window.tolvekPage.rendered()}));
  check(again.state === 'running' && again.starts === 2 && again.rendered > before + 20,
    'a click starts the show again', JSON.stringify(again));

  // Full screen: F asks for it through the show's own key path, F again leaves it.
  await page.keyboard.press('f');
  await session.until(page, () => document.fullscreenElement !== null, 5000);
  const full = await page.evaluate(() => document.fullscreenElement && document.fullscreenElement.id);
  check(full === 'stage', 'F puts the show in full screen', String(full));
  await session.sleep(300);
  if (engineName === 'chromium') await session.shot(page, 'web-full-screen.png');
  await page.keyboard.press('f');
  await session.until(page, () => document.fullscreenElement === null, 5000);
  check(await page.evaluate(() => document.fullscreenElement === null), 'F again leaves full screen');
  await page.mouse.click(480, 300, {count: 2});
  await session.until(page, () => document.fullscreenElement !== null, 5000);
  check(await page.evaluate(() => document.fullscreenElement !== null), 'a double click puts the show in full screen');
  await page.evaluate(() => document.exitFullscreen());
  await session.until(page, () => document.fullscreenElement === null, 5000);
  check(await page.evaluate(() => window.tolvekPage.state) === 'running',
    'the browser leaving full screen leaves the show running');

  // The credits box, and a display error: a page dialog with caption and text, the quit
  // request after it.
  await page.click('#about');
  await session.until(page, () => document.getElementById('message-box').open, 5000);
  const about = await page.evaluate(() => window.tolvekPage.messageBoxes.at(-1));
  check(about && about.caption === 'Configuration', 'About shows the module\'s credits box as a page dialog',
    JSON.stringify(about));
  await page.click('#message-box button');
  await page.keyboard.press('Escape');
  await session.until(page, () => window.tolvekPage.state === 'ended', 5000);
  await page.evaluate(() => window.tolvekPage.injectDisplayFault('SetDisplayMode', 0x88760078));
  await page.mouse.click(480, 300);
  await session.until(page, () => document.getElementById('message-box').open, 5000);
  await session.sleep(300);
  const error = await page.evaluate(() => ({boxes: window.tolvekPage.messageBoxes.slice(1),
    shown: document.getElementById('message-text').textContent,
    state: window.tolvekPage.state, open: document.getElementById('message-box').open}));
  check(error.boxes.length > 0 && error.boxes[0].caption === 'Error' &&
    error.boxes[0].text === 'DirectDraw Error DDERR_INVALIDMODE' && error.shown === error.boxes[0].text &&
    error.open && error.state === 'running', 'a display error shows its dialog and holds the show while it is open',
  JSON.stringify(error));
  if (engineName === 'chromium') await session.shot(page, 'web-display-error.png');
  // One dialog after the other, then the quit request ends the show.
  for (let i = 0; i < error.boxes.length; ++i) {
    await page.click('#message-box button');
    await session.sleep(100);
  }
  await session.until(page, () => window.tolvekPage.state === 'ended', 5000);
  const afterBoxes = await page.evaluate(() => ({state: window.tolvekPage.state,
    open: document.getElementById('message-box').open}));
  check(afterBoxes.state === 'ended' && !afterBoxes.open,
    `the quit request follows the ${error.boxes.length} dialogs: the show ends`, JSON.stringify(afterBoxes));
  await page.close();

  // The figure act, for a look.
  if (shots && engineName === 'chromium') {
    const figures = await session.open(`?clock=${clock}&silence&step`);
    await figures.evaluate(() => window.tolvekPage.advance(2950));
    await session.shot(figures, 'web-figures.png');
    await figures.close();
  }
}

async function clickChecks(session) {
  await session.withSound((failure) => (failure ? console.log(`SKIP [${engineName}] the clicks in the waveform: ${failure}`)
    : heardClicks(session)));
}

async function heardClicks(session) {
  const page = await session.open(`?clock=${clock}`);
  await page.evaluate(() => (window.tolvekPage.fillLog = []));
  await session.upload(page, '#file-input', [clicks]);
  await session.sleep(11000);
  const log = await page.evaluate(() => window.tolvekPage.fillLog);
  // As the desktop's measurement: for each click, the first frame near the moment it was heard
  // whose waveform shows it, against that moment. Here the moment is the one the browser's
  // output timestamp gives (there is no monitor of the output to listen to).
  const rate = 44100;
  const offsets = [];
  for (let k = 0; ; ++k) {
    const click = Math.round((clickStart + k * clickSpacing) * rate);
    if (click > 10 * rate) break;
    const clickEnd = click + Math.round(0.05 * rate);
    const near = log.reduce((best, e) => (!best || Math.abs(e.heard - click) < Math.abs(best.heard - click) ? e : best), null);
    if (!near) continue;
    const heardAt = near.at + ((click - near.heard) / near.rate) * 1000;
    const shown = log.find((e) => e.start < clickEnd && click < e.start + e.count &&
      Math.abs(e.at - heardAt) < (clickSpacing / 2) * 1000);
    if (shown) offsets.push(shown.at - heardAt);
  }
  offsets.sort((a, b) => a - b);
  check(offsets.length >= 15, 'the clicks show in the waveform', `${offsets.length} clicks`);
  if (offsets.length) {
    figure(`render of the first frame showing a click, after the click was heard (the browser's output time): ` +
      `median ${offsets[offsets.length >> 1].toFixed(1)} ms, from ${offsets[0].toFixed(1)} to ` +
      `${offsets.at(-1).toFixed(1)} ms over ${offsets.length} clicks`);
  }
  const reported = await page.evaluate(() => ({stamp: !!(window.AudioContext && AudioContext.prototype.getOutputTimestamp),
    scale: window.tolvekPage.decoderScale}));
  figure(`the browser's output timestamp ${reported.stamp ? 'is' : 'is not'} offered; its decoder scales 16-bit ` +
    `samples by ${JSON.stringify(reported.scale)}`);
  await page.close();
}

for (const name of wanted) {
  engineName = name;
  if (!engines[name]) {
    check(false, `an engine named ${name}`, 'there is none: chromium or firefox');
    continue;
  }
  if (!available(name)) {
    check(false, `${engines[name].executable} is installed`, 'scripts/install-web-deps installs it');
    continue;
  }
  const started = Date.now();
  const server = await serveSite(site, prefix);
  const session = new Session(name, server, path.join(work, name), shots);
  try {
    await session.launch();
    const context = {session, check, figure, work, clock, engine: name, shots};
    const suites = {frames: () => frameChecks(session), show: () => showChecks(session),
      folders: () => checkFolders(context), playlists: () => checkPlaylists(context),
      choices: () => checkSoundChoices(context), clicks: () => clickChecks(session), offline: () => checkOffline(context)};
    for (const [suite, run] of Object.entries(suites)) {
      if (only.length === 0 || only.includes(suite)) await run();
    }
    const outside = server.requests.filter((r) => r.startsWith('404') || !r.startsWith(prefix));
    check(outside.length === 0, `every request was for a file of the site, below ${prefix}`, outside.join(', '));
    check(session.problems.length === 0, 'the pages logged no error and asked for nothing outside the site',
      session.problems.join(' | '));
  } catch (e) {
    check(false, 'the browser test ran to its end', e.stack || String(e));
  } finally {
    for (const {what, lines} of session.sayings || []) sayings.push(`[${name}] ${what}: ${lines.map((l) => `"${l}"`).join(' ')}`);
    await session.close();
    await server.close();
  }
  figure(`this engine's run: ${((Date.now() - started) / 1000).toFixed(0)} s`);
}
fs.rmSync(work, {recursive: true, force: true});

console.log('\nWhat the page said of bad input:');
for (const line of sayings) console.log(`  ${line}`);
console.log('\nFigures:');
for (const line of figures) console.log(`  ${line}`);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
