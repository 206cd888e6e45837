// The site's service worker. It keeps every file of the site in a cache named for this build,
// so the page opens without a network, and answers the page's requests from there. The build
// writes the list of files and, into the cache's name, a digest of them all: a rebuilt site is
// a new worker with a new cache, which takes over from the next load of the page and removes
// the caches of older builds of the same folder.
"use strict";

const cachePrefix = `tarnwick ${self.registration.scope} `;
const cacheName = `${cachePrefix}@TARNWICK_SITE_STAMP@`;
const siteFiles = [@TARNWICK_SITE_FILES@];

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(cacheName);
    // Past the browser's HTTP cache: what is kept must be this build's files.
    await cache.addAll(siteFiles.map((name) => new Request(name, { cache: "reload" })));
    // A page that is open goes on with what it has loaded; the next load is the new version's.
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith(cachePrefix) && name !== cacheName) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET") return;
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return;
  // The page itself, by the folder's name or by index.html, with or without a query.
  const page = request.mode === "navigate" &&
               (url.pathname === scope.pathname || url.pathname === `${scope.pathname}index.html`);
  event.respondWith((async () => {
    const cache = await caches.open(cacheName);
    const kept = await cache.match(page ? "index.html" : request, { ignoreSearch: page });
    return kept ?? fetch(request);
  })());
});
