// The show's offline copy: a service worker that keeps the page, the module and the data pack
// of one build, serves them when the network is away, and takes the next build in the
// background so that it is used from the next load on. The build writes the version and the
// file list in (web/offline.cmake); every name is relative to where the site is served.
const version = 'unbuilt';
const files = ['./'];

const scope = self.registration.scope;
const cacheName = `tolvek ${scope} ${version}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName)
    .then((cache) => cache.addAll(files.map((name) => new Request(new URL(name, scope), {cache: 'reload'}))))
    .then(() => self.skipWaiting()));
});

// The previous build's copy goes once this one serves; other sites of the origin keep theirs.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith(`tolvek ${scope} `) && name !== cacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(scope)) return;
  // Every visit of the page, whatever its query (?clock=..., ?silence), is the one page.
  const key = request.mode === 'navigate' ? new URL('./', scope).href : request;
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(key, {ignoreSearch: request.mode === 'navigate'}))
    .then((kept) => kept || fetch(request)));
});
