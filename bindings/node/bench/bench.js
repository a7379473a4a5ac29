'use strict';
// The binding against the C interface: a round trip (a character fetch and
// the pump) and a page of 1,000 products (fetch, pump, conversion into
// JavaScript objects), each timed here and in the C baseline program on the
// same profile. Prints the figures and the ratios; nothing is checked (the
// machines are shared and noisy).
//   node [--expose-gc] bench.js <tessel_node_bench_native> [--smoke]
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const { platform, vendra, ludex } = require('..');
const sandbox = require('../sandbox');

const native = process.argv[2];
const smoke = process.argv.includes('--smoke');
const pageSize = 1000;
const trips = smoke ? 200 : 20000;
const pages = smoke ? 3 : 200;

function profile() {
  const products = [];
  for (let i = 1; i <= pageSize; i += 1) {
    products.push({
      productId: i, gameItemId: `item_${i}`, name: `Product ${i}`, description: `Описание 商品 ${i}`, quantity: 1,
      productTypeCode: 2, categoryId: 'bench', categoryName: 'Bench', currencyCode: 'USD', price: 1.5,
      displayPrice: 1.5, displayPriceString: '$1.50', salePrice: 1.5, displaySalePrice: 1.5,
      displaySalePriceString: '$1.50', isDiscount: false, discountType: 0, discountTypeValue: 0, totalQuantity: 1,
      memberQuantity: 1, guidQuantity: 1, thumbnailUrl: `https://shop.sandbox.invalid/${i}.png`, canWithdraw: false,
      purchaseLimitTypeCode: 1, purchaseLimitCount: 0, saleLimitCount: 0, saleBeginDate: 0, saleEndDate: 0,
    });
  }
  return JSON.stringify({ shop: { categories: [{ categoryId: 'bench', parentCategoryId: '', displayNumber: 1, name: 'Bench', depth: 1 }], products } });
}

function time(rounds, body) {
  body(Math.ceil(rounds / 10));  // warm-up
  if (global.gc) global.gc();
  const heap = process.memoryUsage().heapUsed;
  const start = process.hrtime.bigint();
  body(rounds);
  const ns = Number(process.hrtime.bigint() - start) / rounds;
  return { ns, heapBytes: (process.memoryUsage().heapUsed - heap) / rounds };
}

const file = path.join(os.tmpdir(), `tessel-node-bench-${process.pid}.json`);
fs.writeFileSync(file, profile());
try {
  const c = JSON.parse(execFileSync(native, [file, String(trips), String(pages), String(pageSize)], { encoding: 'utf8' }));
  platform.initialize('bench');
  vendra.initialize('bench-store');
  ludex.initialize();
  if (sandbox.loadProfileFile(file) !== 0) throw new Error(sandbox.lastProfileError());
  let seen = 0;
  const onCharacter = (r) => { seen += r.data.length; };
  const trip = time(trips, (n) => {
    for (let i = 0; i < n; i += 1) {
      ludex.fetchCharacter('hero', 'eu', onCharacter);
      platform.runCallbacks();
    }
  });
  const onPage = (r) => { seen += r.data.length; };
  const page = time(pages, (n) => {
    for (let i = 0; i < n; i += 1) {
      vendra.fetchProducts({ categoryId: '', pageNumber: 1, pageSize }, onPage);
      platform.runCallbacks();
    }
  });
  const line = (name, js, cNs) => console.log(`${name.padEnd(24)} binding ${js.ns.toFixed(0).padStart(10)} ns/op   ` +
    `C ${cNs.toFixed(0).padStart(10)} ns/op   ratio ${(js.ns / cNs).toFixed(2)}   heap growth ${js.heapBytes.toFixed(0)} B/op`);
  line('round trip (character)', trip, c.roundTripNs);
  line('page of 1,000 products', page, c.pageNs);
  const ok = seen > 0 && platform.pendingCount() === 0;
  platform.uninitialize();
  process.exitCode = ok ? 0 : 1;
} finally {
  fs.rmSync(file, { force: true });
}
