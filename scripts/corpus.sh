#!/usr/bin/env bash
# Installs the chinese-poetry data package, the word pronunciation
# dictionary (@pinyin-pro/data) and the 广韵 readings (tshet-uinh) into the
# build tree and turns them, with the Unicode Han Database's readings
# (Debian's unicode-data), into the poem service's index,
# build/corpus/poems.idx, unless a current one exists.
# Needs a built tree (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
index=build/corpus/poems.idx
if [[ -s "$index" ]] && build/poemd/miravel-poemd --index "$index" --check >/dev/null 2>&1; then
  exit 0
fi
mkdir -p build/corpus
modules=build/corpus/node_modules
if [[ ! -d "$modules/chinese-poetry" || ! -d "$modules/@pinyin-pro/data" ||
      ! -d "$modules/tshet-uinh" ]]; then
  echo "corpus: installing the chinese-poetry package (about 350 MB), @pinyin-pro/data and tshet-uinh"
  npm install --prefix build/corpus --no-audit --no-fund --loglevel=error \
    chinese-poetry@2.0.1 @pinyin-pro/data@1.3.1 tshet-uinh@0.15.4
fi
node poemd/indexing/guangyun_readings.js "$modules" > build/corpus/guangyun.tsv
bzcat /usr/share/unicode/Unihan_Readings.txt.bz2 > build/corpus/unihan_readings.txt
build/poemd/miravel-poemd-index --poetry "$modules/chinese-poetry" \
  --readings "$modules/@pinyin-pro/data/json/complete.json" \
  --classical build/corpus/guangyun.tsv --unihan build/corpus/unihan_readings.txt --out "$index"
