// Offline: where the browser offers a service worker (a page served over
// HTTPS or from 127.0.0.1; not one opened from a local folder), sw.js keeps
// the page's files and serves them without a network.
//
// A new build takes over at the next start: its worker installs beside the
// running page and waits. When a page starts and finds such a worker
// waiting, it lets it take over and loads itself again, now wholly from the
// new build, before the player has done anything.
'use strict';

if ('serviceWorker' in navigator && window.isSecureContext && location.protocol !== 'file:') {
  navigator.serviceWorker.register('sw.js').then((registration) => {
    if (!registration.waiting || !navigator.serviceWorker.controller) return;
    navigator.serviceWorker.addEventListener('controllerchange', () => location.reload(), { once: true });
    registration.waiting.postMessage('take-over');
  }).catch(() => {});  // no worker: the page works as a plain page
}
