// Offline: where the browser offers a service worker (a page served over
// HTTPS or from 127.0.0.1; not one opened from a local folder), sw.js keeps
// the page's files and serves them without a network.
//
// A new build takes over at the next start. Its worker installs beside the
// running page and waits; when the page is next opened, after it was
// closed, the browser hands over to the new worker by itself. A page that
// is only reloaded finds the new worker still waiting: it lets it take over
// and loads itself once more, now wholly from the new build.
'use strict';

const offline = Object.freeze({
  // The worker's registration, or null where there is none.
  registered: 'serviceWorker' in navigator && window.isSecureContext && location.protocol !== 'file:'
    ? navigator.serviceWorker.register('sw.js').then((registration) => {
      if (registration.waiting && navigator.serviceWorker.controller) {
        navigator.serviceWorker.addEventListener('controllerchange', () => location.reload(), { once: true });
        registration.waiting.postMessage('take-over');
      }
      return registration;
    }).catch(() => null)  // no worker: the page works as a plain page
    : Promise.resolve(null),
});
