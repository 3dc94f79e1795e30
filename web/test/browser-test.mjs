// Drives the show's page in Debian's Chromium (headless) and checks it against the native build:
// the frames of a fixed-clock run in silence and with a WAV file equal `tolvek render`'s, the WAV
// moves the traces and grows the tree phase's picture, Escape ends the show and a click starts it
// again, full screen toggles, message boxes become page dialogs followed by the quit request, and
// the page logs no error and asks for nothing outside its own folder. Prints the figures the
// closing note asks for and, with --shots DIR, keeps screenshots of the page.
//
// node web/test/browser-test.mjs --site build/web --native build/release [--shots docs/web]
import {spawnSync} from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

import {chromium} from 'playwright-core';

const args = Object.fromEntries(
  process.argv.slice(2).reduce((pairs, arg, i, all) => {
    if (arg.startsWith('--')) pairs.push([arg.slice(2), all[i + 1]]);
    return pairs;
  }, []));
const site = path.resolve(args.site || 'build/web');
const native = path.resolve(args.native || 'build/release');
const shots = args.shots ? path.resolve(args.shots) : null;
const clock = 1234567;
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tolvek-web-test-'));

let passed = 0;
let failed = 0;
function check(ok, what, detail = '') {
  if (ok) ++passed;
  else ++failed;
  console.log(`${ok ? 'PASS' : 'FAIL'} ${what}${detail ? ': ' + detail : ''}`);
}
const figures = [];
function figure(text) {
  figures.push(text);
  console.log(`FIGURE ${text}`);
}

// ------------------------------------------------------------------ native frames

function digest(indices, palette) {
  return crypto.createHash('sha256').update(indices).update(palette).digest('hex');
}

// An 8-bit indexed PNG as the native renderer writes it: indices (top row first), palette.
function readIndexedPng(file) {
  const bytes = fs.readFileSync(file);
  let at = 8;
  let width = 0;
  let height = 0;
  let palette = Buffer.alloc(768);
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[9] !== 3) throw new Error(`${file}: not an 8-bit indexed PNG`);
    }
    if (type === 'PLTE') body.copy(palette);
    if (type === 'IDAT') data.push(body);
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const indices = Buffer.alloc(width * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (width + 1)];
    for (let x = 0; x < width; ++x) {
      const v = raw[y * (width + 1) + 1 + x];
      const left = x > 0 ? indices[y * width + x - 1] : 0;
      const up = y > 0 ? indices[(y - 1) * width + x] : 0;
      const upLeft = x > 0 && y > 0 ? indices[(y - 1) * width + x - 1] : 0;
      let out = v;
      if (filter === 1) out = v + left;
      if (filter === 2) out = v + up;
      if (filter === 3) out = v + ((left + up) >> 1);
      if (filter === 4) {
        const p = left + up - upLeft;
        const pa = Math.abs(p - left);
        const pb = Math.abs(p - up);
        const pc = Math.abs(p - upLeft);
        out = v + (pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft);
      }
      indices[y * width + x] = out & 0xFF;
    }
  }
  return {width, height, indices, palette};
}

// Consecutive runs of the wanted frames, each rendered natively from frame 1.
function nativeFrames(sound, frames, extra) {
  const runs = [];
  for (const f of [...frames].sort((a, b) => a - b)) {
    const last = runs[runs.length - 1];
    if (last && f === last[1] + 1) last[1] = f;
    else runs.push([f, f]);
  }
  const out = new Map();
  for (const [first, last] of runs) {
    const dir = fs.mkdtempSync(path.join(work, 'native-'));
    const result = spawnSync(path.join(native, 'tolvek'),
      ['render', ...sound, '--clock', String(clock), ...extra, '--frames', `${first}-${last}`, '--png-dir', dir],
      {env: {...process.env, TOLVEK_DISPLAY: 'headless'}, encoding: 'utf8'});
    if (result.status !== 0) throw new Error(`tolvek render failed: ${result.stderr}`);
    for (let f = first; f <= last; ++f) {
      const frame = readIndexedPng(path.join(dir, `frame-${String(f).padStart(6, '0')}.png`));
      out.set(f, {...frame, digest: digest(frame.indices, frame.palette)});
    }
  }
  return out;
}

// 30 s of 16-bit stereo at 44.1 kHz, quiet from 12.5 s to 15 s and loud from 15 s to 18.5 s,
// so the tree phase of the first scene (frames 500 to 719 at 40 frames a second) has both. The
// show's level is the mean step between consecutive waveform bytes read as unsigned, so a sign
// change counts as a full-scale step: tones that stay above zero make the level follow the
// loudness.
function makeWav(file, seconds, sample) {
  const rate = 44100;
  const frames = rate * seconds;
  const bytes = Buffer.alloc(44 + frames * 4);
  bytes.write('RIFF', 0, 'latin1');
  bytes.writeUInt32LE(36 + frames * 4, 4);
  bytes.write('WAVEfmt ', 8, 'latin1');
  bytes.writeUInt32LE(16, 16);
  bytes.writeUInt16LE(1, 20);
  bytes.writeUInt16LE(2, 22);
  bytes.writeUInt32LE(rate, 24);
  bytes.writeUInt32LE(rate * 4, 28);
  bytes.writeUInt16LE(4, 32);
  bytes.writeUInt16LE(16, 34);
  bytes.write('data', 36, 'latin1');
  bytes.writeUInt32LE(frames * 4, 40);
  for (let i = 0; i < frames; ++i) {
    const [l, r] = sample(i / rate, i);
    bytes.writeInt16LE(Math.max(-32768, Math.min(32767, Math.round(l * 32767))), 44 + 4 * i);
    bytes.writeInt16LE(Math.max(-32768, Math.min(32767, Math.round(r * 32767))), 46 + 4 * i);
  }
  fs.writeFileSync(file, bytes);
}

function loudness(t) {
  if (t >= 12.5 && t < 15) return 0.1;
  if (t >= 15 && t < 18.5) return 0.95;
  return 0.5 * (0.6 + 0.4 * Math.abs(Math.sin(Math.PI * 2 * t)));
}

function musicSample(t) {
  const a = loudness(t);
  return [a * (0.5 + 0.5 * Math.sin(2 * Math.PI * 3000 * t)), a * (0.5 + 0.5 * Math.sin(2 * Math.PI * 2200 * t))];
}

// Clicks of 50 ms every 0.437 s (not a multiple of the frame time) from 1.5 s on.
const clickStart = 1.5;
const clickSpacing = 0.437;
function clickSample(t) {
  const k = Math.floor((t - clickStart) / clickSpacing);
  const into = t - clickStart - k * clickSpacing;
  const on = t >= clickStart && into < 0.05;
  const v = on ? 0.9 * Math.sin(2 * Math.PI * 1000 * into) : 0;
  return [v, v];
}

// ------------------------------------------------------------------ the page

function serve(root) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.data': 'application/octet-stream'};
  const requests = [];
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    requests.push(name);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      requests.push(`404 ${name}`);
      return;
    }
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({server, requests})));
}

const {server, requests} = await serve(site);
const origin = `http://127.0.0.1:${server.address().port}`;
const problems = []; // console errors, page errors, requests elsewhere
const browser = await chromium.launchPersistentContext(fs.mkdtempSync(path.join(work, 'profile-')), {
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--autoplay-policy=no-user-gesture-required'],
  viewport: {width: 960, height: 720},
});

async function openPage(query) {
  const page = await browser.newPage();
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('request', (request) => {
    if (!request.url().startsWith(origin + '/') && !request.url().startsWith('data:')) {
      problems.push(`request outside the site: ${request.url()}`);
    }
  });
  await page.goto(`${origin}/${query}`);
  await page.waitForFunction(() => window.tolvekPage && window.tolvekPage.state === 'running', null,
    {timeout: 60000});
  return page;
}

// Advances the page to each wanted frame and takes its digest (and, when asked, the frame).
async function pageFrames(page, frames, keep = []) {
  const out = new Map();
  for (const f of [...frames].sort((a, b) => a - b)) {
    await page.evaluate((target) => window.tolvekPage.advance(target - window.tolvekPage.rendered()), f);
    const got = await page.evaluate(async () => ({
      rendered: window.tolvekPage.rendered(),
      digest: await window.tolvekPage.frameDigest(),
    }));
    if (got.rendered !== f) throw new Error(`the page stopped at frame ${got.rendered}, not ${f}`);
    const entry = {digest: got.digest};
    if (keep.includes(f)) {
      entry.palette = await page.evaluate(() => Array.from(window.tolvekPage.frame().palette));
      entry.indices = Buffer.from(await page.evaluate(() => {
        const fr = window.tolvekPage.frame();
        let s = '';
        for (let i = 0; i < fr.indices.length; i += 8192) s += String.fromCharCode(...fr.indices.subarray(i, i + 8192));
        return btoa(s);
      }), 'base64');
    }
    out.set(f, entry);
  }
  return out;
}

function compare(name, webFrames, nativeFramesByNumber) {
  const differing = [];
  for (const [f, web] of webFrames) {
    const want = nativeFramesByNumber.get(f);
    if (!want || want.digest !== web.digest) differing.push(f);
  }
  check(differing.length === 0, `${name}: frames ${[...webFrames.keys()].join(', ')} equal tolvek render's`,
    differing.length ? `frames ${differing.join(', ')} differ` : '');
}

async function shot(page, name) {
  if (!shots) return;
  fs.mkdirSync(shots, {recursive: true});
  await page.screenshot({path: path.join(shots, name)});
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

try {
  // -------------------------------------------------------------- silence
  const silenceFrames = [1, 2, 3, 400, 401, 402, 505, 590, 700, 719, 721, 2881, 2882, 2883, 2884, 2885, 2886,
    2887, 2888, 2889, 2890, 3300];
  const navigationStarted = Date.now();
  let page = await openPage(`?clock=${clock}&silence&step`);
  const loadMs = await page.evaluate(() => performance.now());
  check(loadMs > 0, 'the page loads and starts the show', `${Math.round(Date.now() - navigationStarted)} ms`);
  const nativeSilence = nativeFrames(['--silence'], silenceFrames, []);
  const webSilence = await pageFrames(page, silenceFrames.slice(0, 4), [2]);
  await shot(page, 'web-interlude.png');
  for (const [f, v] of await pageFrames(page, silenceFrames.slice(4), [590, 700])) webSilence.set(f, v);
  compare('silence', webSilence, nativeSilence);

  // The cost of Render (with the frame's conversion into the canvas) in the browser, frame by
  // frame over a whole cycle, against the native renderer over the same frames.
  page = await openPage(`?clock=${clock}&silence&step`);
  const cost = await page.evaluate(() => {
    const p = window.tolvekPage;
    const conversion0 = Module._tolvek_web_conversion_ms();
    const canvas0 = Module._tolvek_web_canvas_ms();
    const start = performance.now();
    p.advance(4180);
    const total = performance.now() - start;
    const conversion = Module._tolvek_web_conversion_ms() - conversion0;
    const canvas = Module._tolvek_web_canvas_ms() - canvas0;
    return {perFrame: total / 4180, render: (total - conversion - canvas) / 4180, conversion: conversion / 4180,
      canvas: canvas / 4180};
  });
  const nativeStart = process.hrtime.bigint();
  spawnSync(path.join(native, 'tolvek'), ['render', '--silence', '--clock', String(clock), '--frames', '4180-4180',
    '--png-dir', fs.mkdtempSync(path.join(work, 'cost-'))], {env: {...process.env, TOLVEK_DISPLAY: 'headless'}});
  const nativeRender = Number(process.hrtime.bigint() - nativeStart) / 1e6 / 4180;
  // The native conversion, from the benchmark of the window's presentation when it was built.
  let nativeConversion = NaN;
  const bench = path.join(native, 'bench', 'tolvek_bench');
  if (fs.existsSync(bench)) {
    const run = spawnSync(bench, ['--benchmark_filter=^BM_PresentConversion$', '--benchmark_format=json'],
      {encoding: 'utf8', env: {...process.env, TOLVEK_DISPLAY: 'headless'}});
    try {
      const result = JSON.parse(run.stdout).benchmarks[0];
      nativeConversion = result.real_time / (result.time_unit === 'us' ? 1000 : result.time_unit === 'ns' ? 1e6 : 1);
    } catch (e) {
      nativeConversion = NaN;
    }
  }
  const browserCost = cost.render + cost.conversion;
  const nativeCost = nativeRender + nativeConversion;
  figure(`one cycle in silence (4180 frames), a frame in the browser: Render ${cost.render.toFixed(3)} ms + ` +
    `palette conversion ${cost.conversion.toFixed(3)} ms (+ copy into the canvas ${cost.canvas.toFixed(3)} ms); ` +
    `native: Render ${nativeRender.toFixed(3)} ms (tolvek render, process start included) + conversion ` +
    `${nativeConversion.toFixed(3)} ms (BM_PresentConversion); browser / native ${(browserCost / nativeCost).toFixed(2)}x`);
  await page.close();

  // -------------------------------------------------------------- a WAV file
  const wav = path.join(work, 'music.wav');
  makeWav(wav, 30, musicSample);
  const wavFrames = [1, 2, 3, 400, 401, 402, 505, 590, 700, 719];
  page = await openPage(`?clock=${clock}&fps=40&step`);
  await page.setInputFiles('#file-input', wav);
  await page.waitForFunction(() => window.tolvekPage.sound.track !== null, null, {timeout: 30000});
  const webWav = await pageFrames(page, wavFrames, [590, 700]);
  await shot(page, 'web-tree.png');
  compare('music.wav at 40 frames a second', webWav, nativeFrames([wav], wavFrames, ['--fps', '40']));
  check(webWav.get(2).digest !== webSilence.get(2).digest,
    'the WAV moves the trace (its frame 2 differs from silence\'s)');
  // The tree and the pixel field do not hear the sound: what differs from silence's frame of the
  // same number is the picture (and the ring).
  const quiet = differing(webWav.get(590), webSilence.get(590));
  const loud = differing(webWav.get(700), webSilence.get(700));
  check(loud > 3 * quiet, 'the tree phase\'s picture grows with the loudness',
    `pixels that differ from silence: quiet (frame 590) ${quiet}, loud (frame 700) ${loud}`);
  await page.close();

  // -------------------------------------------------------------- real time: start, figures
  page = await openPage(`?clock=${clock}&silence`);
  await page.waitForFunction(() => window.tolvekPage.rendered() > 80, null, {timeout: 30000});
  await shot(page, 'web-start.png');
  const timing = await page.evaluate(() => {
    const gaps = window.tolvekPage.turnGapsMs.slice(5).sort((a, b) => a - b);
    return {first: window.tolvekPage.firstFrameMs, mean: gaps.reduce((a, b) => a + b, 0) / gaps.length,
      p95: gaps[Math.floor(gaps.length * 0.95)], n: gaps.length};
  });
  figure(`load to first frame on localhost: ${timing.first.toFixed(0)} ms (navigation start to the first presented frame)`);
  figure(`frame timing (turn to turn, delayMs 25): mean ${timing.mean.toFixed(1)} ms, 95th percentile ` +
    `${timing.p95.toFixed(1)} ms over ${timing.n} turns`);

  // Escape closes the show window: the show ends; a click starts it again.
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.tolvekPage.state === 'ended', null, {timeout: 5000}).catch(() => {});
  const ended = await page.evaluate(() => ({state: window.tolvekPage.state, ends: window.tolvekPage.ends}));
  check(ended.state === 'ended' && ended.ends === 1, 'Escape ends the show', JSON.stringify(ended));
  const before = await page.evaluate(() => window.tolvekPage.rendered());
  await page.mouse.click(480, 300);
  await page.waitForFunction((n) => window.tolvekPage.rendered() > n + 20, before, {timeout: 5000}).catch(() => {});
  const again = await page.evaluate(() => ({state: window.tolvekPage.state, starts: window.tolvekPage.starts,
    rendered: window.tolvekPage.rendered()}));
  check(again.state === 'running' && again.starts === 2 && again.rendered > before + 20,
    'a click starts the show again', JSON.stringify(again));

  // Full screen: F asks for it through the show's own key path, F again leaves it.
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.fullscreenElement !== null, null, {timeout: 5000}).catch(() => {});
  const full = await page.evaluate(() => document.fullscreenElement && document.fullscreenElement.id);
  check(full === 'stage', 'F puts the show in full screen', String(full));
  await page.waitForTimeout(300);
  await shot(page, 'web-full-screen.png');
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.fullscreenElement === null, null, {timeout: 5000}).catch(() => {});
  check(await page.evaluate(() => document.fullscreenElement === null), 'F again leaves full screen');
  await page.mouse.dblclick(480, 300);
  await page.waitForFunction(() => document.fullscreenElement !== null, null, {timeout: 5000}).catch(() => {});
  check(await page.evaluate(() => document.fullscreenElement !== null), 'a double click puts the show in full screen');
  await page.evaluate(() => document.exitFullscreen());
  await page.waitForFunction(() => document.fullscreenElement === null, null, {timeout: 5000}).catch(() => {});
  const stillRunning = await page.evaluate(() => window.tolvekPage.state);
  check(stillRunning === 'running', 'the browser leaving full screen leaves the show running');

  // The credits box, and a display error: a page dialog with caption and text, the quit
  // request after it.
  await page.click('#about');
  await page.waitForSelector('#message-box[open]', {timeout: 5000}).catch(() => {});
  const about = await page.evaluate(() => window.tolvekPage.messageBoxes.at(-1));
  check(about && about.caption === 'Configuration', 'About shows the module\'s credits box as a page dialog',
    JSON.stringify(about));
  await page.click('#message-box button');
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.tolvekPage.state === 'ended', null, {timeout: 5000}).catch(() => {});
  await page.evaluate(() => window.tolvekPage.injectDisplayFault('SetDisplayMode', 0x88760078));
  await page.mouse.click(480, 300);
  await page.waitForSelector('#message-box[open]', {timeout: 5000}).catch(() => {});
  await page.waitForTimeout(300);
  const error = await page.evaluate(() => ({boxes: window.tolvekPage.messageBoxes.slice(1),
    shown: document.getElementById('message-text').textContent,
    state: window.tolvekPage.state, open: document.getElementById('message-box').open}));
  check(error.boxes.length > 0 && error.boxes[0].caption === 'Error' &&
    error.boxes[0].text === 'DirectDraw Error DDERR_INVALIDMODE' && error.shown === error.boxes[0].text &&
    error.open && error.state === 'running', 'a display error shows its dialog and holds the show while it is open',
    JSON.stringify(error));
  await shot(page, 'web-display-error.png');
  // One dialog after the other, then the quit request ends the show.
  for (let i = 0; i < error.boxes.length; ++i) {
    await page.click('#message-box button');
    await page.waitForTimeout(100);
  }
  await page.waitForFunction(() => window.tolvekPage.state === 'ended', null, {timeout: 5000}).catch(() => {});
  const afterBoxes = await page.evaluate(() => ({state: window.tolvekPage.state,
    open: document.getElementById('message-box').open}));
  check(afterBoxes.state === 'ended' && !afterBoxes.open,
    `the quit request follows the ${error.boxes.length} dialogs: the show ends`, JSON.stringify(afterBoxes));
  await page.close();

  // The figure act, for a look.
  if (shots) {
    page = await openPage(`?clock=${clock}&silence&step`);
    await page.evaluate(() => window.tolvekPage.advance(2950));
    await shot(page, 'web-figures.png');
    await page.close();
  }

  // -------------------------------------------------------------- click to frame
  const clicks = path.join(work, 'clicks.wav');
  makeWav(clicks, 12, clickSample);
  page = await openPage(`?clock=${clock}`);
  await page.evaluate(() => (window.tolvekPage.fillLog = []));
  await page.setInputFiles('#file-input', clicks);
  await page.waitForTimeout(11000);
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
    figure(`render of the first frame showing a click, after the click was heard (the browser's output time): median ${offsets[offsets.length >> 1].toFixed(1)} ms, from ${offsets[0].toFixed(1)} to ` +
      `${offsets.at(-1).toFixed(1)} ms over ${offsets.length} clicks`);
  }
  const reported = await page.evaluate(() => ({stamp: !!(window.AudioContext && AudioContext.prototype.getOutputTimestamp),
    scale: window.tolvekPage.decoderScale}));
  figure(`the browser's output timestamp ${reported.stamp ? 'is' : 'is not'} offered; its decoder scales 16-bit ` +
    `samples by ${JSON.stringify(reported.scale)}`);
  await page.close();

  // -------------------------------------------------------------- the site itself
  const outside = requests.filter((r) => r.startsWith('404'));
  check(outside.length === 0, 'every request the pages made was a file of the site', outside.join(', '));
  check(problems.length === 0, 'the pages logged no error and asked for nothing outside the site', problems.join(' | '));
  let raw = 0;
  let gzipped = 0;
  for (const name of fs.readdirSync(site)) {
    const bytes = fs.readFileSync(path.join(site, name));
    raw += bytes.length;
    gzipped += zlib.gzipSync(bytes, {level: 9}).length;
  }
  figure(`transfer size of the site: ${(raw / 1e6).toFixed(2)} MB, ${(gzipped / 1e6).toFixed(2)} MB with gzip -9`);
} catch (e) {
  check(false, 'the browser test ran to its end', e.stack || String(e));
} finally {
  await browser.close();
  server.close();
  fs.rmSync(work, {recursive: true, force: true});
}

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
