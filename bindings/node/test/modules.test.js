'use strict';
// Every module end to end through the binding against the sandbox: shapes of
// the results, the pump as the only place anything settles, exactly once as
// the sandbox's trace counts it, texts both ways, argument checks.
const test = require('node:test');
const assert = require('node:assert/strict');
const { sdk, sandbox, start, pumpUntil, delivered } = require('./helpers');

const { platform, vendra, panora, scrivo, ludex } = sdk;
start();
sandbox.setTrace(true);

test('every request of the four modules settles once, only inside runCallbacks', async () => {
  sandbox.takeTrace();
  const calls = [];
  const order = [{ productId: 101, salePrice: 3, quantity: 1 }];
  const requests = [
    vendra.fetchShopCategories(), vendra.fetchProducts({ pageNumber: 1, pageSize: 3 }), vendra.fetchProductsEx(null),
    vendra.startPurchase({ orderProducts: order, extraData: 'x' }), vendra.startPurchaseEx({ orderProducts: order }),
    vendra.confirmPurchase(900001), vendra.startPayment({ webviewMode: 1 }), vendra.startPaymentEx(null),
    vendra.fetchInventory(), vendra.fetchTermsAgreement(null), vendra.fetchTermsAgreementEx(null),
    vendra.fetchVoidedPurchases(), vendra.withdrawGame({ width: 10 }),
    panora.autoPopup(0), panora.autoPopupEx(1), panora.manualPopup('event', 0), panora.manualPopupEx('event', 0),
    panora.newsPopup(0), panora.newsPopupEx(0), panora.couponPopup(0), panora.couponPopupEx(0),
    panora.verifyIdentificationPopup(true, 0), panora.fetchAutoPopup(), panora.fetchManualPopup('event'),
    panora.fetchNewsPopup(), panora.fetchCouponPopup(), panora.setPopupDisallowed({ popupId: 1001, days: 1 }),
    panora.fetchWebOpenKey(), scrivo.send({ auid: 1, contents: 'c' }), ludex.fetchCharacter('hero', 'eu'),
  ];
  assert.equal(ludex.fetchCharacter('hero', 'eu', (r) => calls.push(r)), undefined, 'the callback form');
  const seconds = requests.filter((p) => p.destroyed || p.value).map((p) => p.destroyed || p.value);
  let early = 0;
  requests.forEach((p) => p.then(() => { early += 1; }));
  await new Promise((resolve) => setImmediate(resolve));
  assert.equal(early, 0, 'nothing settles before the pump');
  assert.equal(calls.length, 0);

  const results = await pumpUntil(requests);
  for (const r of results) assert.equal(r.code, 0, `${r.operation}: ${r.message}`);
  assert.equal(calls.length, 1);
  assert.deepEqual(calls[0], results[results.length - 1], 'the callback gets what the promise gets');
  assert.equal(results[1].data.length, 3);
  assert.equal(typeof results[1].data[0].displayPriceString, 'string');
  assert.equal(results[3].data.extraData, 'x');
  assert.equal(typeof results[22].data.popups[0].pair1.first, 'string');

  assert.ok(sandbox.closeAllPopups() > 0);
  const notices = await pumpUntil(seconds);
  assert.ok(notices.every((r) => r.code === 0 || r.code === 33));
  assert.equal(delivered(), requests.length + seconds.length + 1, 'one answer delivered per settled request');
  assert.equal(platform.pendingCount(), 0);
  assert.equal(platform.strayAnswers(), 0);
});

test('synchronous calls and platform errors are result objects', async () => {
  assert.deepEqual([vendra.getVersion().data, panora.getVersion().data, scrivo.getVersion().data,
    ludex.getVersion().data], ['1.0.0', '1.0.0', '1.0.0', '1.0.0']);
  assert.equal(platform.resultCodeName(33), 'POPUP_NOT_CREATED');
  assert.equal(vendra.closeAllPopups().code, 0);
  assert.equal(ludex.uninitialize().code, 0);
  const [r] = await pumpUntil([ludex.fetchCharacter('hero', 'eu')]);
  assert.deepEqual([r.code, r.module, r.message, r.data], [17, 'Ludex', 'Ludex is not Initialized.', '']);
  assert.equal(ludex.initialize().code, 0);
});

test('wrong argument types throw TypeError before anything is sent', () => {
  sandbox.takeTrace();
  assert.throws(() => ludex.fetchCharacter(42, 'eu'), TypeError);
  assert.throws(() => vendra.fetchProducts({ pageSize: '3' }), TypeError);
  assert.throws(() => vendra.startPurchase({ orderProducts: {} }), TypeError);
  assert.throws(() => panora.autoPopupEx(0, () => {}, 'not a function'), TypeError);
  assert.throws(() => scrivo.send({ contents: 'a\0b' }), TypeError);
  assert.deepEqual(sandbox.takeTrace(), []);
  assert.equal(platform.pendingCount(), 0);
});

test('texts keep Cyrillic, Japanese and emoji, and null apart from empty', async () => {
  const id = 'Привет-日本語-😀🎮';
  const long = id.repeat(12);  // past the short-text buffers, both ways
  const [r, l] = await pumpUntil([ludex.fetchCharacter(id, ''), ludex.fetchCharacter(long, '')]);
  assert.equal(JSON.parse(r.data).characterId, id);
  assert.equal(JSON.parse(l.data).characterId, long);
  sandbox.takeTrace();
  await pumpUntil([scrivo.send({ contents: null, lvCd: '' })]);
  const line = sandbox.takeTrace().find((l) => l.startsWith('request Scrivo'));
  assert.match(line, /contents=null/);
  assert.match(line, /lvCd=""/);
});

test('scripted failures and latency arrive as results, late answers only after their delay', async () => {
  sandbox.pushOutcome({ module: sandbox.Module.VENDRA, operationCode: 84, count: 1, resultCode: 21, message: 'nope' });
  const [failed] = await pumpUntil([vendra.fetchInventory()]);
  assert.deepEqual([failed.code, failed.message, failed.data], [21, 'nope', []]);

  sandbox.pushOutcome({ module: sandbox.Module.PANORA, operationCode: 81, count: 1, popupCreated: false });
  const shown = panora.autoPopupEx(0);
  const [notCreated, destroyed] = await pumpUntil([shown, shown.destroyed]);
  assert.deepEqual([notCreated.code, destroyed.code], [33, 33]);

  sandbox.setLatency(80);
  let settled = false;
  const late = ludex.fetchCharacter('hero', 'eu').then((r) => { settled = true; return r; });
  platform.runCallbacks();
  await new Promise((resolve) => setImmediate(resolve));
  assert.equal(settled, false);
  await new Promise((resolve) => setTimeout(resolve, 120));
  sandbox.setLatency(0);
  assert.equal((await pumpUntil([late]))[0].code, 0);
});

test('the opt-in automatic pump settles requests without a game loop', async () => {
  platform.startAutoPump(1);
  try {
    assert.equal((await ludex.fetchCharacter('auto', 'eu')).code, 0);
  } finally {
    platform.stopAutoPump();
  }
});

test('popup list fetches of one kind are answered in order, one at a time', async () => {
  sandbox.pushOutcome({ module: sandbox.Module.PANORA, operationCode: 80, count: 1, emptyList: true });
  const [first, second] = await pumpUntil([panora.fetchAutoPopup(), panora.fetchAutoPopup()]);
  assert.equal(first.data.popups.length, 0);
  assert.ok(second.data.popups.length > 0);
});

test('an exception thrown by a callback reaches the caller of runCallbacks after every answer ran', async () => {
  const after = ludex.fetchCharacter('b', 'eu');
  ludex.fetchCharacter('a', 'eu', () => { throw new Error('game bug'); });
  const other = ludex.fetchCharacter('c', 'eu');
  assert.throws(() => platform.runCallbacks(), /game bug/);
  assert.equal((await Promise.all([after, other])).length, 2);
});

test('requests are kept alive while pending: garbage collection between request and pump', { skip: !global.gc && 'needs --expose-gc' }, async () => {
  const rounds = 2000;
  let calls = 0;
  sandbox.takeTrace();
  for (let i = 0; i < rounds; i += 1) {
    ludex.fetchCharacter(`hero${i}`, 'eu', () => { calls += 1; });
    if (i % 100 === 0) global.gc();
  }
  global.gc();
  platform.runCallbacks();
  assert.equal(calls, rounds);
  assert.equal(delivered(), rounds);
  assert.equal(platform.pendingCount(), 0);
});

test('shutdown with requests pending settles every promise once, also from inside a callback', async () => {
  let quitCalls = 0;
  scrivo.send(null, () => { quitCalls += 1; platform.uninitialize(); });
  const pending = [vendra.fetchInventory(), panora.autoPopupEx(0), ludex.fetchCharacter('x', 'eu')];
  const results = await pumpUntil([...pending, pending[1].destroyed]);
  assert.equal(quitCalls, 1);
  assert.deepEqual(results.map((r) => r.code), [17, 17, 17, 17]);
  assert.deepEqual(results[0].data, []);
  assert.equal(platform.pendingCount(), 0);
  platform.runCallbacks();
  assert.equal(platform.strayAnswers(), 0);
  start();
  const straight = [ludex.fetchCharacter('y', 'eu')];
  platform.uninitialize();
  assert.equal((await Promise.all(straight))[0].code, 17);
  start();
});

test('a game drives the sandbox console: a purchase waits until the player pays over HTTP', async () => {
  const { code, url } = sandbox.startConsole(0);
  if (process.platform === 'win32') {
    assert.deepEqual({ code, url }, { code: 19, url: '' }, 'the Windows build has no console');
    return;
  }
  assert.equal(code, 0);
  const base = new URL(url);
  const headers = { 'X-Tessel-Token': base.searchParams.get('token') };
  const call = async (path, body) => {
    const init = body === undefined ? { headers } : { method: 'POST', headers, body: JSON.stringify(body) };
    const response = await fetch(new URL(path, base), init);
    assert.equal(response.status, 200, `${path}: ${await response.clone().text()}`);
    return response.json();
  };
  try {
    await call('/api/interactive', { interactive: true });
    const purchase = vendra.startPurchaseEx({ orderProducts: [{ productId: 101, salePrice: 3, quantity: 1 }] });
    for (let i = 0; i < 5; i += 1) platform.runCallbacks();
    assert.equal(sandbox.waitingWindowCount(), 1, 'the window waits for the player');
    const [window] = await call('/api/waiting');
    assert.equal(window.kind, 'purchase');
    await call('/api/waiting/choose', { id: window.id, choice: 'pay' });
    assert.equal(sandbox.waitingWindowCount(), 0);
    const [paid, closed] = await pumpUntil([purchase, purchase.destroyed]);
    assert.equal(paid.code, 0, paid.message);
    assert.ok(paid.data.isPurchased);
    assert.equal(closed.code, 0);
  } finally {
    await call('/api/interactive', { interactive: false });
    sandbox.stopConsole();
  }
});
