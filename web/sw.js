// The page's service worker, installed beside it when it is served: it
// keeps the page and its manifest, so that the installed calculator starts
// with no network. The network comes first, so a new page reaches the user
// at once; the kept copy answers when there is none.
var KEPT = 'baud51';
var FILES = ['baud51.html', 'baud51.webmanifest'];

self.addEventListener('install', function(event) {
  event.waitUntil(caches.open(KEPT).then(function(cache) {
    return cache.addAll(FILES);
  }).then(function() { return self.skipWaiting(); }));
});

self.addEventListener('activate', function(event) {
  event.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', function(event) {
  var request = event.request;
  if (request.method !== 'GET' ||
      new URL(request.url).origin !== self.location.origin) {
    return;
  }
  event.respondWith(fetch(request).then(function(response) {
    if (response.ok) {
      var copy = response.clone();
      caches.open(KEPT).then(function(cache) { cache.put(request, copy); });
    }
    return response;
  }).catch(function() {
    // A link's fragment never reaches here; its query is the page's too.
    return caches.match(request, {ignoreSearch: true}).then(function(kept) {
      return kept || Response.error();
    });
  }));
});
