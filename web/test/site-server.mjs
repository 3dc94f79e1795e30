// The test's web server: the built site under a path of its own (the site must work under any
// path), gzip where the browser takes it (so that the bytes counted are what a static host
// sends), every request noted, and a switch that takes it off the network.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';

const types = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.svg': 'image/svg+xml', '.webmanifest': 'application/manifest+json'};

export async function serveSite(root, prefix) {
  const gzipped = new Map();
  const state = {root, requests: [], sentBytes: 0, offline: false, extra: new Map()};
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://localhost');
    const name = decodeURIComponent(url.pathname);
    state.requests.push(name);
    if (state.offline) {
      request.socket.destroy();
      return;
    }
    if (state.extra.has(name)) {
      const {type, body} = state.extra.get(name);
      response.writeHead(200, {'Content-Type': type, 'Cache-Control': 'no-store'});
      response.end(body);
      return;
    }
    const relative = name.startsWith(prefix) ? name.slice(prefix.length) : null;
    const file = relative === null ? null : path.join(root, relative === '' ? 'index.html' : relative);
    if (!file || !file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      state.requests.push(`404 ${name}`);
      response.writeHead(404);
      response.end();
      return;
    }
    let body = fs.readFileSync(file);
    const headers = {'Content-Type': types[path.extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache'};
    if (/\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
      if (!gzipped.has(file)) gzipped.set(file, zlib.gzipSync(body, {level: 9}));
      body = gzipped.get(file);
      headers['Content-Encoding'] = 'gzip';
    }
    headers['Content-Length'] = body.length;
    state.sentBytes += body.length;
    response.writeHead(200, headers);
    response.end(body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  state.origin = `http://127.0.0.1:${server.address().port}`;
  state.base = state.origin + prefix;
  state.close = () => new Promise((resolve) => {
    server.closeAllConnections();
    server.close(resolve);
  });
  return state;
}
