#!/usr/bin/env bash
# Installs the chinese-poetry data package into the build tree and turns it
# into the poem service's index, build/corpus/poems.idx, unless that exists.
# Needs a built tree (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
index=build/corpus/poems.idx
if [[ -s "$index" ]]; then exit 0; fi
mkdir -p build/corpus
package=build/corpus/node_modules/chinese-poetry
if [[ ! -d "$package" ]]; then
  echo "corpus: installing the chinese-poetry package (about 350 MB)"
  npm install --prefix build/corpus --no-audit --no-fund --loglevel=error chinese-poetry@2.0.1
fi
build/poemd/miravel-poemd-index --poetry "$package" --out "$index.tmp"
mv "$index.tmp" "$index"
