'use strict';
// Finds the addon for this platform: prebuilds/<platform>-<arch>/ in the
// package, or the folder named by TESSEL_PCSDK_ADDON_DIR (a build tree).
const path = require('path');

function addonPath(file) {
  const dir = process.env.TESSEL_PCSDK_ADDON_DIR ||
    path.join(__dirname, '..', 'prebuilds', `${process.platform}-${process.arch}`);
  return path.join(dir, file);
}

function load(file) {
  const where = addonPath(file);
  try {
    return require(where);
  } catch (error) {
    if (error && error.code === 'MODULE_NOT_FOUND') {
      throw new Error(`@tessel/pcsdk has no prebuilt addon for ${process.platform}-${process.arch} (looked for ${where})`);
    }
    throw error;
  }
}

module.exports = { load };
