'use strict';
// What the tests share: the platform and every module initialized against
// the sandbox, and a pump that runs until the given promises have settled.
const assert = require('node:assert/strict');
const sdk = require('..');
const sandbox = require('../sandbox');

function start() {
  const codes = [sdk.platform.initialize('node-tests'), sdk.vendra.initialize('store'), sdk.panora.initialize(),
    sdk.scrivo.initialize(), sdk.ludex.initialize()].map((r) => r.code);
  for (const code of codes) assert.ok(code === 0 || code === 18, `initialize gave ${code}`);
}

// Pumps (yielding to the event loop between pumps) until every promise settled.
async function pumpUntil(promises, limit = 2000) {
  let open = promises.length;
  promises.forEach((p) => p.then(() => { open -= 1; }));
  for (let i = 0; open > 0; i += 1) {
    assert.ok(i < limit, `${open} requests never settled`);
    sdk.platform.runCallbacks();
    await new Promise((resolve) => setImmediate(resolve));
  }
  return Promise.all(promises);
}

// Trace lines of the answers the sandbox delivered since the last call.
function delivered() {
  return sandbox.takeTrace().filter((line) => line.includes('answer delivered')).length;
}

module.exports = { sdk, sandbox, start, pumpUntil, delivered };
