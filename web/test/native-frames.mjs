// The native side of the browser test: `tolvek render`'s frames read from its indexed PNGs,
// and the sound files the test plays (made here, so every sample is known).
import {spawnSync} from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';


export function digest(indices, palette) {
  return crypto.createHash('sha256').update(indices).update(palette).digest('hex');
}

// An 8-bit indexed PNG as the native renderer writes it: indices (top row first), palette.
export function readIndexedPng(file) {
  return readIndexedPngBytes(fs.readFileSync(file), file);
}

export function readIndexedPngBytes(bytes, file = 'the PNG') {
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
export function nativeFrames(native, work, clock, sound, frames, extra) {
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
// 16-bit PCM; `rate` and `channels` smaller for the list tests' long, quiet entries.
export function makeWav(file, seconds, sample, rate = 44100, channels = 2) {
  const frames = rate * seconds;
  const step = 2 * channels;
  const bytes = Buffer.alloc(44 + frames * step);
  bytes.write('RIFF', 0, 'latin1');
  bytes.writeUInt32LE(36 + frames * step, 4);
  bytes.write('WAVEfmt ', 8, 'latin1');
  bytes.writeUInt32LE(16, 16);
  bytes.writeUInt16LE(1, 20);
  bytes.writeUInt16LE(channels, 22);
  bytes.writeUInt32LE(rate, 24);
  bytes.writeUInt32LE(rate * step, 28);
  bytes.writeUInt16LE(step, 32);
  bytes.writeUInt16LE(16, 34);
  bytes.write('data', 36, 'latin1');
  bytes.writeUInt32LE(frames * step, 40);
  for (let i = 0; i < frames; ++i) {
    const values = sample(i / rate, i);
    for (let c = 0; c < channels; ++c) {
      bytes.writeInt16LE(Math.max(-32768, Math.min(32767, Math.round(values[c] * 32767))), 44 + step * i + 2 * c);
    }
  }
  fs.writeFileSync(file, bytes);
}

function loudness(t) {
  if (t >= 12.5 && t < 15) return 0.1;
  if (t >= 15 && t < 18.5) return 0.95;
  return 0.5 * (0.6 + 0.4 * Math.abs(Math.sin(Math.PI * 2 * t)));
}

export function musicSample(t) {
  const a = loudness(t);
  return [a * (0.5 + 0.5 * Math.sin(2 * Math.PI * 3000 * t)), a * (0.5 + 0.5 * Math.sin(2 * Math.PI * 2200 * t))];
}

// Clicks of 50 ms every 0.437 s (not a multiple of the frame time) from 1.5 s on.
export const clickStart = 1.5;
export const clickSpacing = 0.437;
export function clickSample(t) {
  const k = Math.floor((t - clickStart) / clickSpacing);
  const into = t - clickStart - k * clickSpacing;
  const on = t >= clickStart && into < 0.05;
  const v = on ? 0.9 * Math.sin(2 * Math.PI * 1000 * into) : 0;
  return [v, v];
}
