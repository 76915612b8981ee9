#!/usr/bin/env bash
# Installs the chinese-poetry data package and the word pronunciation
# dictionary (@pinyin-pro/data) into the build tree and turns them into the
# poem service's index, build/corpus/poems.idx, unless a current one exists.
# Needs a built tree (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
index=build/corpus/poems.idx
if [[ -s "$index" ]] && build/poemd/miravel-poemd --index "$index" --check >/dev/null 2>&1; then
  exit 0
fi
mkdir -p build/corpus
modules=build/corpus/node_modules
if [[ ! -d "$modules/chinese-poetry" || ! -d "$modules/@pinyin-pro/data" ]]; then
  echo "corpus: installing the chinese-poetry package (about 350 MB) and @pinyin-pro/data"
  npm install --prefix build/corpus --no-audit --no-fund --loglevel=error \
    chinese-poetry@2.0.1 @pinyin-pro/data@1.3.1
fi
build/poemd/miravel-poemd-index --poetry "$modules/chinese-poetry" \
  --readings "$modules/@pinyin-pro/data/json/complete.json" --out "$index"
