// The page around the show: loads the WebAssembly build and hosts its sound (the built-in tune,
// music files, the microphone, a tab's sound), the player's keys, full screen, the status line
// and the dialogs. The show itself, and its host loop, are in tolvek.wasm.
'use strict';

(() => {
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
  };
  window.tolvekPage = page;

  function notice(text) {
    page.notices.push(text);
    element('notice').textContent = text;
    clearTimeout(notice.timer);
    notice.timer = setTimeout(() => (element('notice').textContent = ''), 8000);
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
  page.options = options;

  // ---------------------------------------------------------------- sound

  let audio = null;
  let gain = null;
  let volume = 1;
  // How the browser's decoder scales 16-bit samples into floats, so that they can be recovered
  // exactly: 32768 both ways unless the decoder proves otherwise.
  let decoderScale = {positive: 32768, negative: 32768};

  function ensureAudio() {
    if (audio) return audio;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) {
      notice('This browser has no Web Audio: the show runs without sound.');
      return null;
    }
    try {
      // The player's own rate, so that 44.1 kHz files decode without being resampled.
      audio = new Context({sampleRate: 44100, latencyHint: 'interactive'});
    } catch (e) {
      audio = new Context();
    }
    gain = audio.createGain();
    gain.gain.value = volume;
    gain.connect(audio.destination);
    learnDecoderScale();
    return audio;
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
    bytes.setUint32(24, audio.sampleRate, true);
    bytes.setUint32(28, 2 * audio.sampleRate, true);
    bytes.setUint16(32, 2, true);
    bytes.setUint16(34, 16, true);
    text(36, 'data');
    bytes.setUint32(40, 2 * samples.length, true);
    samples.forEach((s, i) => bytes.setInt16(44 + 2 * i, s, true));
    audio.decodeAudioData(bytes.buffer).then((decoded) => {
      const data = decoded.getChannelData(0);
      decoderScale = {
        positive: Math.abs(data[1] * 32767 - 32767) < 1e-3 && Math.abs(data[1] - 1) < 1e-6 ? 32767 : 32768,
        negative: Math.abs(data[2] + 1) < 1e-6 ? 32768 : Math.round(-32768 / data[2]),
      };
      page.decoderScale = decoderScale;
    }).catch(() => {});
  }

  // The moment being heard, in the context's time: the output's own timestamp where the browser
  // gives one, otherwise the current time less the latencies it reports.
  function heardContextTime() {
    if (audio.getOutputTimestamp) {
      const stamp = audio.getOutputTimestamp();
      if (stamp.contextTime > 0 && stamp.performanceTime > 0) {
        return stamp.contextTime + Math.max(0, performance.now() - stamp.performanceTime) / 1000;
      }
    }
    return Math.max(0, audio.currentTime - (audio.outputLatency || 0) - (audio.baseLatency || 0));
  }

  // A decoded sound played through Web Audio, its position known to the sample.
  class BufferTrack {
    constructor(name, buffer, loop, scale) {
      this.name = name;
      this.buffer = buffer;
      this.loop = loop;
      this.scale = scale;
      this.channelData = [];
      for (let c = 0; c < Math.min(2, buffer.numberOfChannels); ++c) {
        this.channelData.push(buffer.getChannelData(c));
      }
      this.transport = 'stopped';
      this.offset = 0; // seconds, where playing starts or where it was held
      this.node = null;
      this.onEnded = null;
      this.firstRender = 0;
    }

    get seconds() {
      return this.buffer.duration;
    }

    position() {
      if (this.transport !== 'playing') return this.offset;
      const at = this.offset + (heardContextTime() - this.startedAt);
      return this.loop ? ((at % this.seconds) + this.seconds) % this.seconds : at;
    }

    play() {
      if (this.transport === 'playing') return;
      if (audio.state === 'suspended') audio.resume();
      const node = audio.createBufferSource();
      node.buffer = this.buffer;
      node.loop = this.loop;
      node.connect(gain);
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
      this.startedAt = audio.currentTime;
      this.transport = 'playing';
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

    seek(deltaSeconds) {
      const target = Math.min(Math.max(0, this.position() + deltaSeconds), this.seconds);
      const transport = this.transport;
      this.halt(transport, target);
      if (transport === 'playing') {
        this.transport = 'paused';
        this.play();
      }
    }

    // 576 frames as exact 16-bit values: from the heard moment plus latencyMs, or on the fixed
    // timeline from the track's first frame.
    fill(frames, count, latencyMs, renderIndex) {
      const rate = this.buffer.sampleRate;
      let start;
      if (options.fps > 0) {
        if (this.firstRender === 0) this.firstRender = renderIndex;
        start = Math.floor(((renderIndex - this.firstRender) * rate) / options.fps);
      } else {
        const heard = Math.floor(this.position() * rate);
        start = heard + Math.floor((latencyMs * rate) / 1000);
        if (page.fillLog && page.fillLog.length < 20000) {
          page.fillLog.push({at: performance.now(), heard, start, count, rate});
        }
      }
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
  class LiveSource {
    constructor(name, stream) {
      this.name = name;
      this.stream = stream;
      const track = stream.getAudioTracks()[0];
      const settings = track && track.getSettings ? track.getSettings() : {};
      this.channels = Math.min(2, Math.max(1, settings.channelCount || 1));
      this.source = audio.createMediaStreamSource(stream);
      const splitter = audio.createChannelSplitter(2);
      this.source.connect(splitter);
      this.analysers = [];
      this.buffers = [];
      for (let c = 0; c < this.channels; ++c) {
        const analyser = audio.createAnalyser();
        analyser.fftSize = 1024;
        splitter.connect(analyser, c);
        this.analysers.push(analyser);
        this.buffers.push(new Float32Array(analyser.fftSize));
      }
      this.paused = false;
      this.startedAt = performance.now();
      track.addEventListener('ended', () => {
        if (sound.live === this) {
          notice(`${this.name} ended.`);
          useSilence();
        }
      });
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
      this.source.disconnect();
      this.stream.getTracks().forEach((t) => t.stop());
    }
  }

  const sound = {
    kind: 'none', // none, tune, files, live
    track: null,
    live: null,
    playlist: [],
    index: 0,
    tuneBuffer: null,
  };
  page.sound = sound;

  function closeSound() {
    // A source chosen is sound on its way: the hint to click for it has done its work.
    if (page.state === 'running') overlay('');
    if (sound.track) sound.track.stop();
    if (sound.live) sound.live.close();
    sound.track = null;
    sound.live = null;
    sound.kind = 'none';
  }

  function useSilence() {
    closeSound();
    updateStatus();
  }

  function tuneBuffer() {
    if (sound.tuneBuffer) return sound.tuneBuffer;
    const started = performance.now();
    const frames = Module._tolvek_tune_prepare();
    const rate = Module._tolvek_tune_sample_rate();
    const buffer = audio.createBuffer(2, frames, rate);
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
    if (!ensureAudio()) return;
    closeSound();
    // The tune's floats are k / 32768 exactly.
    sound.track = new BufferTrack('built-in tune', tuneBuffer(), true, {positive: 32768, negative: 32768});
    sound.kind = 'tune';
    sound.track.play();
    updateStatus();
  }

  async function playFiles(files) {
    const music = [...files].filter((f) => /^audio\//.test(f.type) || /\.(mp3|ogg|oga|opus|flac|wav|m4a|aac|webm)$/i.test(f.name));
    if (music.length === 0) {
      notice('No music files among those given (MP3, Ogg, Opus, FLAC, WAV).');
      return;
    }
    if (!ensureAudio()) return;
    closeSound();
    sound.playlist = music;
    sound.kind = 'files';
    await openFile(0, 1);
  }

  // Opens playlist entry `index`, skipping in `direction` past files the browser cannot decode.
  async function openFile(index, direction) {
    const list = sound.playlist;
    for (let i = index; i >= 0 && i < list.length; i += direction) {
      const file = list[i];
      let buffer;
      try {
        buffer = await audio.decodeAudioData(await file.arrayBuffer());
      } catch (e) {
        notice(`${file.name}: the browser cannot decode this file.`);
        continue;
      }
      if (sound.playlist !== list) return; // another choice came meanwhile
      if (sound.track) sound.track.stop();
      sound.index = i;
      sound.track = new BufferTrack(file.name, buffer, false, decoderScale);
      sound.track.onEnded = () => {
        if (sound.index + 1 < list.length) openFile(sound.index + 1, 1);
        else updateStatus();
      };
      if (page.state === 'running' || options.step) sound.track.play();
      else {
        sound.track.transport = 'paused';
        sound.resumeOnStart = true;
      }
      updateStatus();
      return;
    }
    if (!sound.track) {
      notice('None of the files could be played.');
      sound.kind = 'none';
    }
    updateStatus();
  }

  async function useMicrophone() {
    if (!navigator.mediaDevices || !navigator.mediaDevices.getUserMedia) {
      notice('This browser offers no microphone to this page (pages get one over https or on localhost).');
      return;
    }
    if (!ensureAudio()) return;
    let stream;
    try {
      stream = await navigator.mediaDevices.getUserMedia({
        audio: {echoCancellation: false, noiseSuppression: false, autoGainControl: false},
        video: false,
      });
    } catch (e) {
      notice(e.name === 'NotAllowedError'
        ? 'The microphone was refused; the show goes on with the sound it had.'
        : `No microphone: ${e.message}`);
      return;
    }
    startLive('microphone', stream);
  }

  async function useTabSound() {
    if (!navigator.mediaDevices || !navigator.mediaDevices.getDisplayMedia) {
      notice('This browser cannot share a tab\'s or the screen\'s sound with a page.');
      return;
    }
    if (!ensureAudio()) return;
    let stream;
    try {
      stream = await navigator.mediaDevices.getDisplayMedia({video: true, audio: true});
    } catch (e) {
      notice(e.name === 'NotAllowedError' ? 'Sharing was refused; the show goes on with the sound it had.' : `No shared sound: ${e.message}`);
      return;
    }
    if (stream.getAudioTracks().length === 0) {
      stream.getTracks().forEach((t) => t.stop());
      notice('Nothing was shared with sound: choose a tab (or the screen) and tick "Share audio".');
      return;
    }
    startLive('shared sound', stream);
  }

  function startLive(name, stream) {
    closeSound();
    if (audio.state === 'suspended') audio.resume();
    sound.live = new LiveSource(name, stream);
    sound.kind = 'live';
    updateStatus();
  }

  // The player's commands by name, numbered as the module numbers them (it hands them to act).
  let commandNumbers = null;
  function commandsOfModule() {
    if (commandNumbers === null) {
      commandNumbers = {};
      for (let i = 0; i < Module._tolvek_command_count(); ++i) {
        commandNumbers[Module.UTF8ToString(Module._tolvek_command_name(i))] = i;
      }
    }
    return commandNumbers;
  }

  function act(command) {
    const Command = commandsOfModule();
    const track = sound.track;
    switch (command) {
      case Command.Play:
        if (track) track.play();
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
        if (sound.kind === 'files') {
          if (track && track.position() > 3) track.seek(-track.position());
          else openFile(Math.max(0, sound.index - 1), -1);
        } else if (track) {
          track.seek(-track.position());
        }
        break;
      case Command.Next:
        if (sound.kind === 'files' && sound.index + 1 < sound.playlist.length) openFile(sound.index + 1, 1);
        break;
      case Command.SeekBack:
        if (track) track.seek(-5);
        break;
      case Command.SeekForward:
        if (track) track.seek(5);
        break;
      case Command.VolumeUp:
      case Command.VolumeDown:
        volume = Math.min(1, Math.max(0, Math.round(volume * 10 + (command === Command.VolumeUp ? 1 : -1)) / 10));
        if (gain) gain.gain.value = volume;
        break;
      default:
        break;
    }
    updateStatus();
  }

  // ---------------------------------------------------------------- status line

  function clockText(seconds) {
    const s = Math.max(0, Math.floor(seconds));
    return `${Math.floor(s / 60)}:${String(s % 60).padStart(2, '0')}`;
  }

  function updateStatus() {
    let source = 'silence';
    let time = '';
    if (sound.track) {
      const t = sound.track;
      source = sound.kind === 'files' && sound.playlist.length > 1
        ? `${t.name} (${sound.index + 1}/${sound.playlist.length})` : t.name;
      time = `${clockText(t.position())} / ${clockText(t.seconds)}`;
      if (t.transport !== 'playing') time += ` [${t.transport}]`;
    } else if (sound.live) {
      source = sound.live.name;
      time = `${clockText((performance.now() - sound.live.startedAt) / 1000)}${sound.live.paused ? ' [paused]' : ''}`;
    }
    if (page.state === 'ended') time += ' [show ended]';
    element('status-source').textContent = source;
    element('status-time').textContent = time;
    element('status-volume').textContent = sound.live ? '' : `vol ${Math.round(volume * 100)}%`;
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
    if (!options.silence && sound.kind === 'none') useTune();
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
  page.playFiles = playFiles;
  page.injectDisplayFault = (operation, code) => {
    const bytes = new TextEncoder().encode(operation + '\0');
    const name = Module._malloc(bytes.length);
    Module.HEAPU8.set(bytes, name);
    Module._tolvek_inject_display_fault(name, code | 0);
    Module._free(name);
  };
  // Set to an array, it collects what each real-time fill took: when, and which frames.
  page.fillLog = null;

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
  element('pick-file').addEventListener('click', (event) => {
    firstGesture(event);
    element('file-input').click();
  });
  element('file-input').addEventListener('change', (event) => {
    if (!gestureEvent) gestureEvent = event;
    playFiles(event.target.files);
    event.target.value = '';
  });
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
    playFiles(event.dataTransfer.files);
  });
  dialog.addEventListener('close', () => {
    if (waitingBoxes.length > 0) {
      showNextBox();
      return;
    }
    if (page.state === 'running' && !options.step && timer === null) timer = setTimeout(turn, 0);
  });

  // ---------------------------------------------------------------- loading

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
      element('status-source').textContent = 'silence';
      page.state = 'ready';
      if (options.silence) gestureEvent = 'silence';
      startShow();
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
      sampleRate: () => (sound.track ? sound.track.buffer.sampleRate : sound.live ? audio.sampleRate : 44100),
      channels: () => (sound.track ? sound.track.buffer.numberOfChannels : sound.live ? sound.live.channels : 2),
      paused: () => (sound.track ? sound.track.transport === 'paused' : sound.live ? sound.live.paused : false),
      act,
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
})();
