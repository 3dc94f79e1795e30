// One engine's browser for the test: its pages on the test's site, what they logged, and the
// few steps every check takes (wait for a condition, advance frames, give files to an input).
import fs from 'node:fs';
import path from 'node:path';

import {engines} from './engines.mjs';
import {startSoundServer} from './sound-server.mjs';

export class Session {
  constructor(engine, server, folder, shots) {
    this.engine = engine;
    this.server = server;
    this.folder = folder;
    this.shots = shots;
    this.problems = []; // console errors, page errors, requests elsewhere
    fs.mkdirSync(folder, {recursive: true});
  }

  async launch() {
    this.browser = await engines[this.engine].launch(fs.mkdtempSync(path.join(this.folder, 'profile-')), false);
  }

  // The same engine with a sound output where it needs a sound server for one (Firefox): the
  // test's own. Only the checks of what is heard use it; without one the page follows the
  // music on its own clock, and Firefox's pages answer the test more steadily.
  async withSound(use) {
    if (!engines[this.engine].needsSoundServer) return use();
    const sound = await startSoundServer(path.join(this.folder, 'pulse'));
    if (sound.failure) return use(sound.failure);
    const saved = this.browser;
    this.browser = await engines[this.engine].launch(fs.mkdtempSync(path.join(this.folder, 'sound-')), false,
      sound.env);
    try {
      return await use();
    } finally {
      await this.browser.close().catch(() => {});
      this.browser = saved;
      sound.stop();
    }
  }

  async close() {
    if (this.browser) await this.browser.close().catch(() => {});
  }

  sleep(ms) {
    return new Promise((resolve) => setTimeout(resolve, ms));
  }

  // Waits for `condition` in the page; false when it did not come within `timeout` ms. Asked
  // from here, one evaluation at a time: a poller left waiting inside the page can hold
  // Firefox's remote protocol.
  async until(page, condition, timeout, ...args) {
    const deadline = Date.now() + timeout;
    for (;;) {
      if (await page.evaluate(condition, ...args).catch(() => false)) return true;
      if (Date.now() >= deadline) return false;
      await this.sleep(50);
    }
  }

  // A page of the site; `offline: true` lets it keep its offline copy (other pages do not, so
  // that every check loads from the network).
  async open(query, {offline = false, wait = true} = {}) {
    const page = await this.browser.newPage();
    page.on('console', (message) => {
      if (message.type() === 'error') this.problems.push(`console: ${message.text()}`);
    });
    page.on('pageerror', (error) => this.problems.push(`page error: ${error.message}`));
    page.on('request', (request) => {
      const url = request.url();
      if (!url.startsWith(this.server.origin + '/') && !/^(data|blob):/.test(url)) {
        this.problems.push(`request outside the site: ${url}`);
      }
    });
    // The media session's handlers, kept where the test can call them as the desktop would.
    await page.evaluateOnNewDocument(() => {
      window.tolvekMediaHandlers = {};
      if (navigator.mediaSession) {
        const set = navigator.mediaSession.setActionHandler.bind(navigator.mediaSession);
        navigator.mediaSession.setActionHandler = (action, handler) => {
          window.tolvekMediaHandlers[action] = handler;
          return set(action, handler);
        };
      }
    });
    const separator = query.includes('?') ? '&' : '?';
    await page.goto(this.server.base + query + (offline ? '' : `${query ? separator : '?'}no-offline`));
    if (wait && !(await this.until(page, () => window.tolvekPage && window.tolvekPage.state === 'running', 60000))) {
      throw new Error(`the page ${query} did not start its show`);
    }
    return page;
  }

  // Advances the page to each wanted frame and takes its digest (and, when asked, the frame).
  async frames(page, numbers, keep = []) {
    const out = new Map();
    for (const f of [...numbers].sort((a, b) => a - b)) {
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

  // Files (or, for the folder input, a folder) given to a file input as the file chooser would.
  async upload(page, selector, files) {
    const input = await page.$(selector);
    await input.uploadFile(...files);
  }

  // A case of bad input and what the page said of it, for the report at the end.
  say(what, lines) {
    this.sayings = this.sayings || [];
    this.sayings.push({what, lines});
  }

  // The same engine as a visitor who refuses the microphone and every sharing: a browser of
  // its own, since the grant is the browser's; its pages open as open() does.
  async refusing(use) {
    const saved = this.browser;
    this.browser = await engines[this.engine].launch(fs.mkdtempSync(path.join(this.folder, 'refusing-')), true);
    try {
      return await use();
    } finally {
      await this.browser.close().catch(() => {});
      this.browser = saved;
    }
  }

  // A screenshot, with the status line woken (it hides while the mouse rests).
  async shot(page, name) {
    if (!this.shots) return;
    await page.mouse.move(470, 290);
    await page.mouse.move(480, 300);
    await this.sleep(150);
    fs.mkdirSync(this.shots, {recursive: true});
    await page.screenshot({path: path.join(this.shots, name)});
  }
}
