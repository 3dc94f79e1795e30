// The two engines the page is tested in, both Debian's own builds driven headless through
// puppeteer-core: Chromium over the DevTools protocol, Firefox ESR over WebDriver BiDi. Neither
// is downloaded; the test's profile folders are fresh each run.
import fs from 'node:fs';
import path from 'node:path';

import puppeteer from 'puppeteer-core';

export const engines = {
  chromium: {
    executable: '/usr/bin/chromium',
    launch: (profile, refuse) => puppeteer.launch({
      executablePath: '/usr/bin/chromium',
      headless: true,
      userDataDir: profile,
      defaultViewport: {width: 960, height: 720},
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--autoplay-policy=no-user-gesture-required',
        // A fake microphone; the visitor grants it, or (refuse) refuses it and every sharing.
        '--use-fake-device-for-media-stream',
        refuse ? '--use-fake-ui-for-media-stream=deny' : '--use-fake-ui-for-media-stream'],
    }),
  },
  firefox: {
    executable: '/usr/bin/firefox-esr',
    // Its sound output needs a sound server: the test's own (sound-server.mjs).
    needsSoundServer: true,
    launch: (profile, refuse, soundEnv = {}) => puppeteer.launch({
      browser: 'firefox',
      // A page busy decoding on a loaded machine can take a while to answer.
      protocolTimeout: 300000,
      dumpio: process.env.TOLVEK_BROWSER_LOG === '1',
      executablePath: '/usr/bin/firefox-esr',
      headless: true,
      env: {...process.env, ...soundEnv},
      userDataDir: profile,
      defaultViewport: {width: 960, height: 720},
      extraPrefsFirefox: {
        'media.autoplay.default': 0,
        'media.autoplay.blocking_policy': 0,
        // A fake microphone; the visitor grants it, or (refuse) refuses it.
        'media.navigator.streams.fake': true,
        'media.navigator.permission.disabled': !refuse,
        'permissions.default.microphone': refuse ? 2 : 0,
        'permissions.default.screen': refuse ? 2 : 0,
        'browser.download.folderList': 2,
        'browser.download.dir': path.join(profile, 'downloads'),
        'browser.download.useDownloadDir': true,
        'browser.shell.checkDefaultBrowser': false,
        'datareporting.policy.dataSubmissionEnabled': false,
        'toolkit.telemetry.reportingpolicy.firstRun': false,
        'app.update.enabled': false,
        'browser.safebrowsing.malware.enabled': false,
        'browser.safebrowsing.phishing.enabled': false,
        'network.captive-portal-service.enabled': false,
        'network.connectivity-service.enabled': false,
      },
    }),
  },
};

export function available(name) {
  return fs.existsSync(engines[name].executable);
}
