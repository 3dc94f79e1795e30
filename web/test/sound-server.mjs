// A private PulseAudio server with a null sink, so that a browser whose output needs a sound
// server (Firefox) plays on this machine, where there is none; stopped with the test.
import {spawn, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

export async function startSoundServer(folder) {
  fs.mkdirSync(folder, {recursive: true});
  if (spawnSync('pulseaudio', ['--version']).status !== 0) return {failure: 'pulseaudio is not installed'};
  const socket = path.join(folder, 'native');
  const env = {...process.env, XDG_RUNTIME_DIR: folder, HOME: folder, XDG_CONFIG_HOME: folder};
  const server = spawn('pulseaudio', ['--daemonize=no', '--exit-idle-time=-1', '--disallow-exit', '--disable-shm=yes',
    '--use-pid-file=no', '--system=no', '-n', '--log-target=stderr', '--log-level=error',
    '-L', `module-native-protocol-unix auth-anonymous=1 socket=${socket}`,
    '-L', 'module-null-sink sink_name=tolvek_test_sink', '-L', 'module-always-sink'], {env, stdio: 'ignore'});
  let exited = false;
  server.on('exit', () => (exited = true));
  for (let i = 0; i < 100 && !exited && !fs.existsSync(socket); ++i) await new Promise((r) => setTimeout(r, 100));
  if (exited || !fs.existsSync(socket)) {
    server.kill();
    return {failure: 'the private PulseAudio server did not start'};
  }
  return {env: {PULSE_SERVER: `unix:${socket}`}, stop: () => server.kill()};
}
