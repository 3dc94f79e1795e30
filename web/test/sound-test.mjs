// Sound the page cannot get, and choices made while a file decodes: what the page says, and
// that the show and what played before go on; a later choice of sound always wins, and what
// was opened for an earlier one is closed.
import fs from 'node:fs';
import path from 'node:path';

import {makeWav} from './native-frames.mjs';

// What the page plays and shows: the sound's kind and name, whether it plays, whether the
// show goes on, and whether a microphone's tracks are open.
async function playing(session, page) {
  const before = await page.evaluate(() => window.tolvekPage.rendered());
  await session.sleep(400);
  return page.evaluate((n) => {
    const s = window.tolvekPage.sound;
    return {kind: s.kind, track: s.track && s.track.name, transport: s.track && s.track.transport,
      live: s.live ? s.live.stream.getAudioTracks().map((t) => t.readyState).join(',') : null,
      drawing: window.tolvekPage.rendered() > n + 5};
  }, before);
}

// Gives the file input `name` from `bytes` and clicks `button` in the same moment, before the
// browser can have decoded the file.
function dropThenClick(page, name, base64, button) {
  return page.evaluate((n, b, id) => {
    const bytes = Uint8Array.from(atob(b), (c) => c.charCodeAt(0));
    const transfer = new DataTransfer();
    transfer.items.add(new File([bytes], n, {type: 'audio/wav'}));
    const input = document.getElementById('file-input');
    input.files = transfer.files;
    input.dispatchEvent(new Event('change'));
    document.getElementById(id).click();
  }, name, base64, button);
}

export async function checkSoundChoices({session, check, work, clock, engine}) {
  const folder = path.join(work, 'choices');
  fs.mkdirSync(folder, {recursive: true});
  const song = path.join(folder, 'late song.wav');
  // Long and at 8 kHz, so that decoding (and resampling to the output's rate) takes a while.
  makeWav(song, 150, (t) => [0.4 * Math.sin(2 * Math.PI * 300 * t)], 8000, 1);
  const base64 = fs.readFileSync(song).toString('base64');
  fs.writeFileSync(path.join(folder, 'picture.png'), Buffer.from('\x89PNG\r\n\x1a\n a picture, not sound'));
  fs.writeFileSync(path.join(folder, 'broken.wav'), Buffer.from('RIFF\x10\x00\x00\x00WAVEjunk'));

  // The faults: a file still decoding took over after the tune or the microphone was picked.
  let page = await session.open(`?clock=${clock}`);
  await page.click('#use-tune');
  await dropThenClick(page, 'late song.wav', base64, 'use-tune');
  await session.sleep(1500);
  let now = await playing(session, page);
  check(now.kind === 'tune' && now.track === 'built-in tune' && now.transport === 'playing' && now.drawing,
    'the tune picked while a file decodes keeps playing; the file does not take over', JSON.stringify(now));
  await dropThenClick(page, 'late song.wav', base64, 'use-mic');
  await session.sleep(2000);
  now = await playing(session, page);
  check(now.kind === 'live' && now.track === null && now.live === 'live' && now.drawing,
    'the microphone picked while a file decodes is the one sound; the file does not open beside it',
    JSON.stringify(now));
  // And the file picked after the microphone closes it.
  await session.upload(page, '#file-input', [song]);
  await session.until(page, () => window.tolvekPage.sound.kind === 'files', 10000);
  const closed = await page.evaluate(() => window.tolvekPage.sound.live === null);
  now = await playing(session, page);
  check(closed && now.kind === 'files' && now.track === 'late song.wav' && now.transport === 'playing',
    'a file picked after the microphone plays and the microphone is closed', JSON.stringify(now));
  await page.close();

  // Bad input: each said, the tune goes on.
  page = await session.open(`?clock=${clock}`);
  await page.click('#use-tune');
  const said = async (files) => {
    const before = await page.evaluate(() => window.tolvekPage.notices.length);
    if (files) await session.upload(page, '#file-input', files.map((n) => path.join(folder, n)));
    await session.sleep(1200);
    return page.evaluate((n) => window.tolvekPage.notices.slice(n), before);
  };
  let lines = await said(['picture.png']);
  now = await playing(session, page);
  check(lines.includes('picture.png: not a sound file, a folder or a playlist; left out') && now.kind === 'tune' &&
    now.transport === 'playing' && now.drawing, 'a picture dropped is said to be no sound, the tune goes on',
  JSON.stringify(lines));
  session.say('a picture dropped', lines);
  lines = await said(['broken.wav']);
  now = await playing(session, page);
  check(lines.includes('broken.wav: the browser cannot decode this file; skipped.') && now.kind === 'tune' &&
    now.transport === 'playing' && now.drawing, 'a file the browser cannot decode is named, the tune goes on',
  JSON.stringify(lines));
  session.say('a file that cannot be decoded', lines);

  await page.close();

  // The microphone refused and a tab's sound refused, by a visitor who says no.
  await session.refusing(async () => {
    page = await session.open(`?clock=${clock}`);
    await page.click('#use-tune');
    for (const [button, what, pattern] of [['#use-mic', 'the microphone refused', /microphone/i],
      ['#use-tab', 'a tab\'s sound refused', /shar/i]]) {
      const before = await page.evaluate(() => window.tolvekPage.notices.length);
      await page.click(button);
      await session.until(page, (n, source) => window.tolvekPage.notices.slice(n).some((l) => new RegExp(source, 'i').test(l)),
        10000, before, pattern.source);
      lines = await page.evaluate((n) => window.tolvekPage.notices.slice(n), before);
      now = await playing(session, page);
      const line = lines.find((l) => pattern.test(l)) || '';
      check(/goes on/.test(line) && now.kind === 'tune' &&
        now.transport === 'playing' && now.drawing, `${what} is said, the tune goes on`, JSON.stringify(lines));
      session.say(what, lines);
    }
    if (engine === 'chromium') await session.shot(page, 'web-refused.png');
    await page.close();
  });
}
