'use strict';
// The JavaScript environment ending with requests pending: a worker that is
// terminated, a second environment while one holds the SDK, process exit.
// This file loads the SDK in the main thread only after the worker is gone.
const test = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const { Worker } = require('node:worker_threads');
const { spawnSync } = require('node:child_process');

const pkg = path.join(__dirname, '..');
const requestsInWorker = `
  const { parentPort } = require('node:worker_threads');
  const sdk = require(${JSON.stringify(pkg)});
  sdk.platform.initialize('worker'); sdk.ludex.initialize(); sdk.panora.initialize();
  for (let i = 0; i < 50; i += 1) sdk.ludex.fetchCharacter('w' + i, 'eu', () => {});
  sdk.panora.fetchAutoPopup(); sdk.panora.fetchAutoPopup(); sdk.panora.autoPopupEx(0);
  parentPort.postMessage(sdk.platform.pendingCount());
  setInterval(() => {}, 1000);
`;

test('a worker terminated with requests pending: its answers become counted no-ops, the SDK serves the next environment', async () => {
  const worker = new Worker(requestsInWorker, { eval: true });
  const pending = await new Promise((resolve, reject) => { worker.once('message', resolve); worker.once('error', reject); });
  assert.equal(pending, 54);
  await worker.terminate();

  const { sdk, start, pumpUntil } = require('./helpers');
  start();
  sdk.platform.runCallbacks();
  assert.equal(sdk.platform.strayAnswers(), 52, 'the 50 fetches, the fetch sent of the lane, the popup result');
  assert.equal(sdk.platform.pendingCount(), 0);
  const [list] = await pumpUntil([sdk.panora.fetchAutoPopup()]);
  assert.equal(list.code, 0, 'the lane of a dead environment does not hold the next fetch');
});

test('a second environment while one holds the SDK is refused with a clear error', async () => {
  require('..');
  const worker = new Worker(`require(${JSON.stringify(pkg)})`, { eval: true });
  const error = await new Promise((resolve) => worker.once('error', resolve));
  assert.match(error.message, /already in use by another JavaScript environment/);
});

test('process exit with requests pending ends cleanly', () => {
  const child = spawnSync(process.execPath, ['-e', `
    const sdk = require(${JSON.stringify(pkg)});
    sdk.platform.initialize('exit'); sdk.scrivo.initialize();
    for (let i = 0; i < 20; i += 1) sdk.scrivo.send({ contents: 'bye' }, () => {});
    process.exit(3);`], { env: process.env, encoding: 'utf8' });
  assert.equal(child.status, 3, child.stderr);
});
