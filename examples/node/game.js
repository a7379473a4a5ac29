'use strict';
// A small game loop over all four modules against the sandbox: each frame
// pumps the platform once; the game starts a request per module, opens a
// popup and buys an item, closes the popups as a player would, and exits 0
// only when every callback came back exactly once.
//   node examples/node/game.js        (from the package: require('@tessel/pcsdk'))
let sdk;
let sandbox;
try {
  sdk = require('@tessel/pcsdk');
  sandbox = require('@tessel/pcsdk/sandbox');
} catch (error) {
  if (error.code !== 'MODULE_NOT_FOUND') throw error;
  sdk = require('../../bindings/node');
  sandbox = require('../../bindings/node/sandbox');
}
const { platform, vendra, panora, scrivo, ludex } = sdk;

const calls = new Map();
function once(name) {
  calls.set(name, 0);
  return (result) => {
    calls.set(name, calls.get(name) + 1);
    console.log(`${name}: ${result.codeName}${result.message ? ` (${result.message})` : ''}`);
  };
}

platform.initialize('node-sample');
vendra.initialize('sample-store');
panora.initialize();
scrivo.initialize();
ludex.initialize();

ludex.fetchCharacter('hero', 'eu', once('character'));
scrivo.send({ auid: 1, logGroupId: 'session', contents: 'started — 開始 🎮' }, once('log'));
panora.newsPopupEx(0, once('news'), once('news closed'));
vendra.fetchProducts({ pageNumber: 1, pageSize: 5 }, (page) => {
  once('products')(page);
  const item = page.data[0];
  vendra.startPurchaseEx({ orderProducts: [{ productId: item.productId, salePrice: item.salePrice, quantity: 1 }] },
    once('purchase'), once('purchase window closed'));
});

let frame = 0;
const loop = setInterval(() => {
  frame += 1;
  platform.runCallbacks();
  if (frame === 5) sandbox.closeAllPopups();  // the player closes every window
  const waiting = [...calls.values()].some((n) => n === 0);
  if ((!waiting && frame > 5) || frame > 200) {
    clearInterval(loop);
    platform.uninitialize();
    const wrong = [...calls].filter(([, n]) => n !== 1);
    if (wrong.length > 0 || calls.size !== 7) {
      console.error('callbacks not called exactly once:', wrong);
      process.exit(1);
    }
    console.log(`every callback came back once, in ${frame} frames`);
  }
}, 16);
