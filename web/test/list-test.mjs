// Folders and playlists in the page: the module's order (natural names, subfolders), entries
// resolved against the dropped files, shuffle and repeat by the player's rules, the status
// line, the media session's handlers, and a file the browser cannot decode skipped once.
import fs from 'node:fs';
import path from 'node:path';

import {makeWav} from './native-frames.mjs';

function tone(hz) {
  return (t) => [0.3 * Math.sin(2 * Math.PI * hz * t)];
}

// Long enough that no entry ends while the keys are pressed; mono at the output's rate, so
// that decoding is a copy.
function makeEntry(file, hz) {
  makeWav(file, 15, tone(hz), 44100, 1);
}

export function makeAlbum(work) {
  const album = path.join(work, 'album');
  fs.mkdirSync(path.join(album, 'sub'), {recursive: true});
  makeEntry(path.join(album, '1 one.wav'), 440);
  makeEntry(path.join(album, '2 two.wav'), 550);
  makeEntry(path.join(album, '10 ten.wav'), 660);
  makeEntry(path.join(album, 'sub', '3 three.wav'), 770);
  fs.writeFileSync(path.join(album, '5 broken.wav'), Buffer.from('RIFF....WAVEfmt this is no sound at all'));
  fs.writeFileSync(path.join(album, 'cover.png'), Buffer.from('\x89PNG not really'));
  makeEntry(path.join(album, '.hidden.wav'), 880);
  return album;
}

const trackName = () => (window.tolvekPage.sound.track ? window.tolvekPage.sound.track.name : null);

// Presses `key` and waits for another track than `before`. The wait is long: a fresh Firefox
// starts its decoder process for the first file it cannot read, which took over 5 s on a busy
// machine.
async function pressForTrack(session, page, key, before) {
  await page.keyboard.press(key);
  await session.until(page, (name) => window.tolvekPage.sound.track && window.tolvekPage.sound.track.name !== name &&
    !window.tolvekPage.sound.opening, 30000, before);
  return page.evaluate(trackName);
}

// The folder dropped on the show. Neither engine's automation can drop a folder, so the drop
// carries entries of the browser's entries API made of the same files; the page walks them as
// it walks a real drop's.
async function dropFolder(page, album) {
  const tree = [];
  const collect = (folder, prefix) => {
    for (const name of fs.readdirSync(folder).sort()) {
      const full = path.join(folder, name);
      if (fs.statSync(full).isDirectory()) collect(full, `${prefix}${name}/`);
      else tree.push({path: `${prefix}${name}`, base64: fs.readFileSync(full).toString('base64')});
    }
  };
  collect(album, 'album/');
  await page.evaluate((files) => {
    const root = {name: 'album', isFile: false, isDirectory: true, children: new Map()};
    for (const {path, base64} of files) {
      const parts = path.split('/');
      let folder = root;
      for (const part of parts.slice(1, -1)) {
        if (!folder.children.has(part)) folder.children.set(part, {name: part, isFile: false, isDirectory: true, children: new Map()});
        folder = folder.children.get(part);
      }
      const file = new File([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], parts.at(-1));
      folder.children.set(file.name, {name: file.name, isFile: true, isDirectory: false, file: (ok) => setTimeout(() => ok(file))});
    }
    const withReaders = (entry) => {
      if (entry.isDirectory) {
        const children = [...entry.children.values()];
        children.forEach(withReaders);
        // Entries come in batches, in no particular order, as a real reader's do.
        entry.createReader = () => {
          let left = children.slice().reverse();
          return {readEntries: (ok) => setTimeout(() => ok(left.splice(0, 2)))};
        };
      }
      return entry;
    };
    const drop = new Event('drop', {bubbles: true, cancelable: true});
    Object.defineProperty(drop, 'dataTransfer', {value: {items: [{kind: 'file', webkitGetAsEntry: () => withReaders(root)}], files: []}});
    document.getElementById('show').dispatchEvent(drop);
  }, tree);
}

const albumOrder = ['1 one.wav', '2 two.wav', '5 broken.wav', '10 ten.wav', '3 three.wav'];

export async function checkFolders({session, check, work, clock, engine}) {
  const album = makeAlbum(work);
  const page = await session.open(`?clock=${clock}`);
  // Firefox's automation cannot give a folder to a file input: there the folder is dropped.
  const picked = engine === 'chromium';
  if (picked) await session.upload(page, '#folder-input', [album]);
  else await dropFolder(page, album);
  await session.until(page, () => window.tolvekPage.sound.track && window.tolvekPage.sound.kind === 'files', 10000);
  const list = await page.evaluate(() => window.tolvekPage.list());
  check(JSON.stringify(list.names) === JSON.stringify(albumOrder) && list.position === 0,
    `a folder ${picked ? 'picked with the button' : 'dropped'} plays its sound files in natural order, its subfolder's too`,
    JSON.stringify(list));
  let status = await page.evaluate(() => window.tolvekPage.status());
  check(status.startsWith('1 one.wav (1/5)'), 'the status line names the file and its place in the list', status);

  let name = await pressForTrack(session, page, 'b', '1 one.wav');
  check(name === '2 two.wav', 'B plays the next entry', name);
  name = await pressForTrack(session, page, 'b', '2 two.wav');
  const said = await page.evaluate(() => window.tolvekPage.notices.filter((n) => n.includes('5 broken.wav')));
  check(name === '10 ten.wav' && said.length === 1 &&
    said[0] === '5 broken.wav: the browser cannot decode this file; skipped.',
  'an entry the browser cannot decode is named and skipped', `${name}; ${JSON.stringify(said)}`);
  name = await pressForTrack(session, page, 'z', '10 ten.wav');
  check(name === '2 two.wav', 'Z plays the previous entry, past the one that would not decode', name);

  // Shuffle and repeat: every playable entry once a round, and no entry twice across a seam.
  await page.evaluate(() => window.tolvekPage.seedShuffle(7));
  await page.keyboard.press('s');
  await page.keyboard.press('r');
  await session.sleep(200);
  status = await page.evaluate(() => window.tolvekPage.status());
  const shuffled = await page.evaluate(() => window.tolvekPage.list());
  check(/shuffle {2}repeat$/.test(status) && shuffled.position === 0 && shuffled.names[0] === '2 two.wav',
    'S and R turn shuffle and repeat on, the playing entry first of the new order; the status line says so', status);
  const heard = ['2 two.wav'];
  for (let i = 0; i < 11; ++i) heard.push(await pressForTrack(session, page, 'b', heard.at(-1)));
  const playable = ['1 one.wav', '10 ten.wav', '2 two.wav', '3 three.wav'];
  const rounds = [heard.slice(0, 4), heard.slice(4, 8), heard.slice(8, 12)];
  const whole = rounds.every((round) => JSON.stringify([...round].sort()) === JSON.stringify(playable));
  const seams = rounds[0][3] !== rounds[1][0] && rounds[1][3] !== rounds[2][0];
  check(whole && seams && JSON.stringify(rounds[0]) !== JSON.stringify(rounds[1]),
    'shuffled rounds with repeat: each plays every entry once, none repeats across a round\'s seam',
  rounds.map((r) => r.join(', ')).join(' | '));
  if (engine === 'chromium') await session.shot(page, 'web-folder-picked.png');

  // The media session: the title is the file's name; the desktop's media keys drive the list.
  const media = async (action, details) => {
    await page.evaluate((a, d) => window.tolvekMediaHandlers[a](d || {action: a}), action, details);
    await session.sleep(300);
    return page.evaluate(() => ({title: navigator.mediaSession.metadata && navigator.mediaSession.metadata.title,
      state: navigator.mediaSession.playbackState, track: window.tolvekPage.sound.track.name,
      transport: window.tolvekPage.sound.track.transport, at: window.tolvekPage.sound.track.position()}));
  };
  const handlers = await page.evaluate(() => Object.keys(window.tolvekMediaHandlers).sort().join(' '));
  let now = await media('pause');
  check(now.title === now.track && now.state === 'paused' && now.transport === 'paused',
    'the media session shows the file\'s name and pauses', `${handlers}: ${JSON.stringify(now)}`);
  now = await media('seekto', {action: 'seekto', seekTime: 1.25});
  check(Math.abs(now.at - 1.25) < 0.01, 'the media session seeks', JSON.stringify(now));
  now = await media('play');
  check(now.state === 'playing' && now.transport === 'playing', 'the media session plays', JSON.stringify(now));
  const before = now.track;
  now = await media('nexttrack');
  check(now.track !== before && now.title === now.track, 'the media session\'s next track plays the next entry',
    `${before} -> ${JSON.stringify(now)}`);
  await page.close();

  if (!picked) return;
  const dropped = await session.open(`?clock=${clock}`);
  await dropFolder(dropped, album);
  await session.until(dropped, () => window.tolvekPage.sound.kind === 'files', 10000);
  const droppedList = await dropped.evaluate(() => window.tolvekPage.list());
  check(JSON.stringify(droppedList.names) === JSON.stringify(albumOrder),
    'a dropped folder plays in the same order', JSON.stringify(droppedList));
  await dropped.keyboard.press('s');
  await pressForTrack(session, dropped, 'b', '1 one.wav');
  await session.sleep(1200);
  status = await dropped.evaluate(() => window.tolvekPage.status());
  check(/\(\d\/5\).*shuffle/.test(status), 'the dropped folder plays shuffled, the status line says where', status);
  if (engine === 'chromium') await session.shot(dropped, 'web-folder.png');
  await dropped.close();
}

export async function checkPlaylists({session, check, work, clock}) {
  const folder = path.join(work, 'lists');
  fs.mkdirSync(folder, {recursive: true});
  for (const [name, hz] of [['a.wav', 330], ['b.wav', 440], ['c.wav', 550]]) makeEntry(path.join(folder, name), hz);
  fs.writeFileSync(path.join(folder, 'mix.m3u8'), '#EXTM3U\n#EXTINF:2,C\nc.wav\n/home/someone/Music/a.wav\n' +
    'missing.wav\nC:\\Music\\b.wav\nmissing.wav\nhttp://radio.invalid/stream\n');
  fs.writeFileSync(path.join(folder, 'order.pls'), '[playlist]\nFile2=b.wav\nFile1=a.wav\nNumberOfEntries=2\n');

  const page = await session.open(`?clock=${clock}`);
  await session.upload(page, '#file-input', ['mix.m3u8', 'a.wav', 'b.wav', 'c.wav'].map((n) => path.join(folder, n)));
  await session.until(page, () => window.tolvekPage.sound.kind === 'files', 10000);
  const list = await page.evaluate(() => window.tolvekPage.list());
  const notices = await page.evaluate(() => window.tolvekPage.notices);
  const missing = notices.filter((n) => n.includes('missing.wav'));
  check(JSON.stringify(list.names) === JSON.stringify(['c.wav', 'a.wav', 'b.wav']),
    'an M3U8 dropped with its files plays in its order, entries of another machine\'s paths found among them',
    JSON.stringify(list));
  check(missing.length === 1 && missing[0] === 'missing.wav: named by the playlist but not dropped with it; left out' &&
    notices.some((n) => n.includes('http://radio.invalid/stream')),
  'an entry not dropped is said once and left out, and so is a stream', JSON.stringify(notices));

  // Stopped, the list takes what comes next and plays it at once: a PLS, in its numbers' order.
  await page.keyboard.press('v');
  await session.until(page, () => window.tolvekPage.sound.track.transport === 'stopped', 5000);
  await session.upload(page, '#file-input', ['order.pls', 'a.wav', 'b.wav'].map((n) => path.join(folder, n)));
  await session.until(page, () => window.tolvekPage.list().names.length === 5 && !window.tolvekPage.sound.opening, 10000);
  await session.sleep(300);
  const joined = await page.evaluate(() => ({list: window.tolvekPage.list(), track: window.tolvekPage.sound.track.name,
    transport: window.tolvekPage.sound.track.transport}));
  check(JSON.stringify(joined.list.names.slice(3)) === JSON.stringify(['a.wav', 'b.wav']) &&
    joined.list.position === 3 && joined.track === 'a.wav' && joined.transport === 'playing',
  'a PLS joins the stopped list in its numbers\' order and starts', JSON.stringify(joined));
  await page.close();
}
