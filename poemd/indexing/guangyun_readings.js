// Writes the readings of the 广韵 (Guangyun) that the npm package tshet-uinh
// holds, for miravel-poemd-index: one line per character and reading,
//   <character> TAB <rhyme> TAB <tone>
// the rhyme as tshet-uinh names it (東, 冬, 鍾, ...; a rhyme of the level
// tone names the rhyme of all four tones) and the tone one of 平 上 去 入.
// Entries whose reading tshet-uinh marks as invalid are left out.
// Usage: node guangyun_readings.js NODE_MODULES_DIR > guangyun.tsv
'use strict';
const path = require('path');
const TshetUinh = require(path.resolve(process.argv[2], 'tshet-uinh'));

const seen = new Set();
const out = [];
for (const entry of TshetUinh.資料.廣韻.iter條目()) {
  const place = entry.音韻地位;
  if (!place) continue;
  const line = `${entry.字頭}\t${place.韻}\t${place.聲}`;
  if (seen.has(line)) continue;
  seen.add(line);
  out.push(line);
}
process.stdout.write(out.join('\n') + '\n');
