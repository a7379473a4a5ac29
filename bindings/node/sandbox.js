'use strict';
// @tessel/pcsdk/sandbox: the offline sandbox platform's control surface, for
// tests and development builds (profiles, scripted outcomes, latency, trace,
// open popups). The platform a game ships against has none of it.
const native = require('./lib/load').load('tessel_sandbox.node');

const Module = Object.freeze({ VENDRA: 1, PANORA: 2, SCRIVO: 3, LUDEX: 4 });

module.exports = Object.freeze({ ...native, Module });
