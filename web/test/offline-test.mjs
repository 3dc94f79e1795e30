// The offline copy: after one visit the page opens and runs with the server gone, and a new
// build is picked up on the next load after the one that found it.
export async function checkOffline({session, check, clock, engine}) {
  const server = session.server;
  let page = await session.open(`?clock=${clock}&silence`, {offline: true});
  const ready = await session.until(page, () => window.tolvekPage.offline === 'ready' &&
    navigator.serviceWorker.controller !== null, 20000);
  check(ready, 'the page keeps an offline copy (its service worker controls it)',
    await page.evaluate(() => String(window.tolvekPage.offline)));

  server.offline = true;
  const refused = server.requests.length;
  await page.reload();
  const running = await session.until(page, () => window.tolvekPage && window.tolvekPage.state === 'running' &&
    window.tolvekPage.rendered() > 40, 30000);
  const served = server.requests.slice(refused);
  const said = await session.until(page, () => window.tolvekPage.notices.some((n) => n.startsWith('No network')), 10000);
  check(running && said, 'with the server gone, the page opens from its offline copy, the show runs, the page says so',
    `requests that found no server: ${served.join(', ') || 'none'}`);
  if (engine === 'chromium') await session.shot(page, 'web-offline.png');

  // A new build on the server: the next load still shows the kept one and fetches the new in
  // the background; the load after it is the new one.
  server.offline = false;
  const base = new URL(server.base).pathname;
  const fs = await import('node:fs');
  const path = await import('node:path');
  const index = fs.default.readFileSync(path.default.join(server.root, 'index.html'), 'utf8')
    .replace('<head>', '<head>\n<meta name="tolvek-build" content="next">');
  const worker = fs.default.readFileSync(path.default.join(server.root, 'tolvek-offline.js'), 'utf8')
    .replace(/const version = '([^']*)';/, "const version = '$1-next';");
  for (const name of [base, `${base}index.html`]) server.extra.set(name, {type: 'text/html', body: index});
  server.extra.set(`${base}tolvek-offline.js`, {type: 'text/javascript', body: worker});
  const marked = () => document.querySelector('meta[name="tolvek-build"]') !== null;
  await page.reload();
  await session.until(page, () => window.tolvekPage && window.tolvekPage.state === 'running', 30000);
  const first = await page.evaluate(marked);
  const updated = await session.until(page, () => caches.keys().then((names) => names.some((n) => n.endsWith('-next'))
    && names.length === 1), 20000);
  await session.sleep(300);
  await page.reload();
  await session.until(page, () => window.tolvekPage && window.tolvekPage.state === 'running', 30000);
  const second = await page.evaluate(marked);
  check(!first && updated && second, 'a new build is fetched in the background and shown on the next load',
    `load after the change: ${first ? 'new' : 'kept'} build; the one after: ${second ? 'new' : 'kept'} build`);
  server.extra.clear();
  await page.close();
}
