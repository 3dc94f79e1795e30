// The page's sound: one Web Audio context, decoded files and the built-in tune played with their
// position known to the sample, and live sound (the microphone, a shared tab) read as it comes.

export const audio = {context: null, gain: null, volume: 1};
// How the browser's decoder scales 16-bit samples into floats, so that they can be recovered
// exactly: 32768 both ways unless the decoder proves otherwise.
export let decoderScale = {positive: 32768, negative: 32768};
// Frame k's sound at (k - 1) / fps seconds when fps > 0 (set by the page's options).
export const timeline = {fps: 0, fillLog: null};

export function ensureAudio(notice) {
  if (audio.context) return audio.context;
  const Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) {
    notice('This browser has no Web Audio: the show runs without sound.');
    return null;
  }
  let context;
  try {
    // The player's own rate, so that 44.1 kHz files decode without being resampled.
    context = new Context({sampleRate: 44100, latencyHint: 'interactive'});
  } catch (e) {
    context = new Context();
  }
  audio.context = context;
  audio.gain = context.createGain();
  audio.gain.gain.value = audio.volume;
  audio.gain.connect(context.destination);
  learnDecoderScale();
  context.addEventListener('statechange', () => {
    if (context.state === 'running' && audio.onRunning) audio.onRunning();
  });
  return context;
}

export function setVolume(volume) {
  audio.volume = volume;
  if (audio.gain) audio.gain.gain.value = volume;
}

function learnDecoderScale() {
  const samples = [16384, 32767, -32768];
  const bytes = new DataView(new ArrayBuffer(44 + 2 * samples.length));
  const text = (at, s) => [...s].forEach((c, i) => bytes.setUint8(at + i, c.charCodeAt(0)));
  text(0, 'RIFF');
  bytes.setUint32(4, 36 + 2 * samples.length, true);
  text(8, 'WAVEfmt ');
  bytes.setUint32(16, 16, true);
  bytes.setUint16(20, 1, true);
  bytes.setUint16(22, 1, true);
  bytes.setUint32(24, audio.context.sampleRate, true);
  bytes.setUint32(28, 2 * audio.context.sampleRate, true);
  bytes.setUint16(32, 2, true);
  bytes.setUint16(34, 16, true);
  text(36, 'data');
  bytes.setUint32(40, 2 * samples.length, true);
  samples.forEach((s, i) => bytes.setInt16(44 + 2 * i, s, true));
  audio.context.decodeAudioData(bytes.buffer).then((decoded) => {
    const data = decoded.getChannelData(0);
    decoderScale = {
      positive: Math.abs(data[1] * 32767 - 32767) < 1e-3 && Math.abs(data[1] - 1) < 1e-6 ? 32767 : 32768,
      negative: Math.abs(data[2] + 1) < 1e-6 ? 32768 : Math.round(-32768 / data[2]),
    };
  }).catch(() => {});
}

// The moment being heard, in the context's time: the output's own timestamp where the browser
// gives one, otherwise the current time less the latencies it reports.
function heardContextTime() {
  const context = audio.context;
  if (context.getOutputTimestamp) {
    const stamp = context.getOutputTimestamp();
    if (stamp.contextTime > 0 && stamp.performanceTime > 0) {
      return stamp.contextTime + Math.max(0, performance.now() - stamp.performanceTime) / 1000;
    }
  }
  return Math.max(0, context.currentTime - (context.outputLatency || 0) - (context.baseLatency || 0));
}

// A decoded sound played through Web Audio, its position known to the sample.
export class BufferTrack {
  constructor(name, buffer, loop, scale) {
    this.name = name;
    this.buffer = buffer;
    this.loop = loop;
    this.scale = scale;
    this.channelData = [];
    this.readChannels();
    this.transport = 'stopped';
    this.offset = 0; // seconds, where playing starts or where it was held
    this.node = null;
    this.onEnded = null;
    this.firstRender = 0;
  }

  // Playing a buffer may take its samples away from arrays handed out before (Firefox does,
  // as Web Audio allows); then the buffer hands out new ones.
  readChannels() {
    if (this.channelData.length > 0 && this.channelData[0].length === this.buffer.length) return;
    this.channelData = [];
    for (let c = 0; c < Math.min(2, this.buffer.numberOfChannels); ++c) {
      this.channelData.push(this.buffer.getChannelData(c));
    }
  }

  get seconds() {
    return this.buffer.duration;
  }

  // Seconds heard since playing started: by the output's clock while it runs; by the page's
  // clock while the browser holds its output (no sound device), so the show still follows
  // the music, as the desktop player does without a device.
  elapsed() {
    if (audio.context.state === 'running' && this.startedRunning) return heardContextTime() - this.startedAt;
    return (performance.now() - this.startedWall) / 1000;
  }

  position() {
    if (this.transport !== 'playing') return this.offset;
    const at = this.offset + this.elapsed();
    return this.loop ? ((at % this.seconds) + this.seconds) % this.seconds : Math.min(at, this.seconds);
  }

  play() {
    if (this.transport === 'playing') return;
    const context = audio.context;
    if (context.state === 'suspended') context.resume();
    const node = context.createBufferSource();
    node.buffer = this.buffer;
    node.loop = this.loop;
    node.connect(audio.gain);
    node.onended = () => {
      if (this.node === node && this.transport === 'playing') {
        this.transport = 'stopped';
        this.offset = 0;
        this.node = null;
        if (this.onEnded) this.onEnded();
      }
    };
    const offset = Math.min(Math.max(0, this.offset), this.seconds);
    node.start(0, offset);
    this.node = node;
    this.offset = offset;
    this.startedAt = context.currentTime;
    this.startedWall = performance.now();
    this.startedRunning = context.state === 'running';
    this.transport = 'playing';
  }

  // The output started after playing did: from here on its clock counts, from where the
  // page's clock had come to.
  outputStarted() {
    if (this.transport === 'playing' && !this.startedRunning) this.seekTo(this.position());
  }

  halt(transport, offset) {
    const node = this.node;
    this.node = null;
    if (node) {
      node.onended = null;
      node.stop();
      node.disconnect();
    }
    this.transport = transport;
    this.offset = offset;
  }

  pause() {
    if (this.transport === 'playing') this.halt('paused', this.position());
  }

  togglePause() {
    if (this.transport === 'playing') this.pause();
    else this.play();
  }

  stop() {
    this.halt('stopped', 0);
  }

  // To `seconds` from the start, kept within the track; playing goes on from there.
  seekTo(seconds) {
    const target = Math.min(Math.max(0, seconds), this.seconds);
    const transport = this.transport;
    this.halt(transport === 'stopped' ? 'paused' : transport, target);
    if (transport === 'playing') {
      this.transport = 'paused';
      this.play();
    }
  }

  seek(deltaSeconds) {
    if (this.transport === 'stopped') return;
    this.seekTo(this.position() + deltaSeconds);
  }

  // 576 frames as exact 16-bit values: from the heard moment plus latencyMs, or on the fixed
  // timeline from the track's first frame.
  fill(frames, count, latencyMs, renderIndex) {
    const rate = this.buffer.sampleRate;
    let start;
    if (timeline.fps > 0) {
      if (this.firstRender === 0) this.firstRender = renderIndex;
      start = Math.floor(((renderIndex - this.firstRender) * rate) / timeline.fps);
    } else {
      const heard = Math.floor(this.position() * rate);
      start = heard + Math.floor((latencyMs * rate) / 1000);
      if (timeline.fillLog && timeline.fillLog.length < 20000) {
        timeline.fillLog.push({at: performance.now(), heard, start, count, rate});
      }
    }
    this.readChannels();
    const length = this.buffer.length;
    const heap = Module.HEAP16;
    const base = frames >> 1;
    for (let i = 0; i < count; ++i) {
      let at = start + i;
      if (this.loop) at = ((at % length) + length) % length;
      for (let c = 0; c < 2; ++c) {
        const data = this.channelData[Math.min(c, this.channelData.length - 1)];
        const v = at >= 0 && at < length ? data[at] : 0;
        const scaled = Math.round(v * (v > 0 ? this.scale.positive : this.scale.negative));
        heap[base + 2 * i + c] = Math.max(-32768, Math.min(32767, scaled || 0));
      }
    }
    return this.channelData.length | 0x10;
  }
}

// Sound the page listens to: the microphone or a shared tab. It has no future, so the newest
// frames are the closest to what is heard.
export class LiveSource {
  constructor(name, stream, onEnded) {
    const context = audio.context;
    this.name = name;
    this.stream = stream;
    const track = stream.getAudioTracks()[0];
    const settings = track && track.getSettings ? track.getSettings() : {};
    this.channels = Math.min(2, Math.max(1, settings.channelCount || 1));
    this.source = context.createMediaStreamSource(stream);
    const splitter = context.createChannelSplitter(2);
    this.source.connect(splitter);
    this.analysers = [];
    this.buffers = [];
    for (let c = 0; c < this.channels; ++c) {
      const analyser = context.createAnalyser();
      analyser.fftSize = 1024;
      splitter.connect(analyser, c);
      this.analysers.push(analyser);
      this.buffers.push(new Float32Array(analyser.fftSize));
    }
    this.paused = false;
    this.closed = false;
    this.startedAt = performance.now();
    if (track) track.addEventListener('ended', () => !this.closed && onEnded(this));
  }

  fill(left, right, count) {
    const out = [left >> 2, right >> 2];
    for (let c = 0; c < this.channels; ++c) {
      this.analysers[c].getFloatTimeDomainData(this.buffers[c]);
      const from = this.buffers[c].length - count;
      Module.HEAPF32.set(this.buffers[c].subarray(from), out[c]);
    }
    return this.channels;
  }

  close() {
    this.closed = true;
    this.source.disconnect();
    this.stream.getTracks().forEach((t) => t.stop());
  }
}
