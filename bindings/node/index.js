'use strict';
// @tessel/pcsdk: the Tessel PC SDK modules for JavaScript. Every request
// returns a Promise of a result object, or takes a callback as its last
// argument instead; either settles only inside platform.runCallbacks(), which the game calls from its
// loop (or platform.startAutoPump() for tools and tests). Platform errors
// are results (result.code), wrong argument types throw TypeError at once.
const native = require('./lib/load').load('tessel_pcsdk.node');

let autoPump = null;

// Keeps an automatic pump's timer holding the process open while requests wait.
function touch() {
  if (autoPump !== null) autoPump.ref();
}

function checkCallback(callback, what) {
  if (callback !== undefined && callback !== null && typeof callback !== 'function') {
    throw new TypeError(`${what} must be a function`);
  }
}

// A request with one answer: fn(args...) returns the promise of its result;
// fn(args..., callback) calls the callback with it instead. Written out per
// arity: a request is a hot path, and spreading arguments costs as much as
// the rest of the binding's JavaScript.
function one(send, arity) {
  const answer = (callback) => {
    checkCallback(callback, 'callback');
    if (callback) return { done: callback, promise: undefined };
    let done;
    const promise = new Promise((resolve) => { done = resolve; });
    return { done, promise };
  };
  const finish = (promise) => { touch(); return promise; };
  switch (arity) {
    case 0: return (callback) => { const a = answer(callback); send(a.done); return finish(a.promise); };
    case 1: return (x, callback) => { const a = answer(callback); send(a.done, x); return finish(a.promise); };
    case 2: return (x, y, callback) => { const a = answer(callback); send(a.done, x, y); return finish(a.promise); };
    default: throw new Error(`no request takes ${arity} arguments`);
  }
}

const ignore = () => {};

// A popup request with a second answer (the destroy notice, or the identity
// value): fn(args...) returns the promise of the result with the second
// answer's promise as its property `name`; fn(args..., callback, second?)
// calls the callbacks instead.
function two(send, arity, name) {
  return function request(...args) {
    const callback = args[arity];
    const second = args[arity + 1];
    checkCallback(callback, 'callback');
    checkCallback(second, name === 'destroyed' ? 'onDestroy' : 'onValue');
    args.length = arity;
    if (callback || second) {
      send(callback || ignore, second || ignore, ...args);
      touch();
      return undefined;
    }
    let settle;
    let settleSecond;
    const promise = new Promise((resolve) => { settle = resolve; });
    const other = new Promise((resolve) => { settleSecond = resolve; });
    send(settle, settleSecond, ...args);
    touch();
    promise[name] = other;
    return promise;
  };
}

function module_(nativeModule, requests) {
  const out = {};
  for (const [name, fn] of Object.entries(nativeModule)) {
    const shape = requests[name];
    if (shape === undefined) out[name] = fn;
    else if (shape.second) out[name] = two(fn, shape.arity, shape.second);
    else out[name] = one(fn, shape.arity);
  }
  return Object.freeze(out);
}

const r = (arity) => ({ arity });
const d = (arity) => ({ arity, second: 'destroyed' });

const vendra = module_(native.vendra, {
  fetchShopCategories: r(0), fetchProducts: r(1), fetchProductsEx: r(1), startPurchase: r(1),
  startPurchaseEx: d(1), confirmPurchase: r(1), startPayment: r(1), startPaymentEx: d(1),
  fetchInventory: r(0), fetchTermsAgreement: r(1), fetchTermsAgreementEx: d(1),
  fetchVoidedPurchases: r(0), withdrawGame: d(1),
});
const panora = module_(native.panora, {
  autoPopup: r(1), autoPopupEx: d(1), manualPopup: r(2), manualPopupEx: d(2), newsPopup: r(1),
  newsPopupEx: d(1), couponPopup: r(1), couponPopupEx: d(1),
  verifyIdentificationPopup: { arity: 2, second: 'value' },
  fetchAutoPopup: r(0), fetchManualPopup: r(1), fetchNewsPopup: r(0), fetchCouponPopup: r(0),
  setPopupDisallowed: r(1), fetchWebOpenKey: r(0),
});
const scrivo = module_(native.scrivo, { send: r(1) });
const ludex = module_(native.ludex, { fetchCharacter: r(2) });

const platform = Object.freeze({
  ...native.platform,
  /** Pumps every intervalMs (default 16) until stopAutoPump(); the timer holds the process only while requests wait. */
  startAutoPump(intervalMs = 16) {
    if (typeof intervalMs !== 'number' || !(intervalMs >= 0)) throw new TypeError('intervalMs must be a number');
    if (autoPump !== null) clearInterval(autoPump);
    autoPump = setInterval(() => {
      native.platform.runCallbacks();
      if (native.platform.pendingCount() === 0) autoPump.unref();
    }, intervalMs);
    if (native.platform.pendingCount() === 0) autoPump.unref();
  },
  stopAutoPump() {
    if (autoPump !== null) clearInterval(autoPump);
    autoPump = null;
  },
});

const ResultCode = Object.freeze({
  SUCCESS: 0, NOT_INITIALIZED: 17, ALREADY_INITIALIZED: 18, INVALID_ARGUMENT: 19,
  BUFFER_TOO_SMALL: 20, NOT_FOUND: 21, OUT_OF_MEMORY: 22, POPUP_NOT_CREATED: 33,
});
const WebViewMode = Object.freeze({ EMBEDDED: 0, WINDOWED: 1 });

module.exports = { platform, vendra, panora, scrivo, ludex, ResultCode, WebViewMode };
