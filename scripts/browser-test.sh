#!/usr/bin/env bash
# Browser test of miravel-poemd on a made-up corpus: headless Chromium loads
# GET /, submits the form, and the result page must show the poem's lines.
# Usage: scripts/browser-test.sh [BUILD_DIR]. Exits 77 (skipped) when
# Chromium or npm is missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
if [[ ! -x /usr/bin/chromium ]] || ! command -v npm >/dev/null; then
  echo "browser-test: needs Debian's chromium and npm; skipped"
  exit 77
fi
work="$build/browser-test"
mkdir -p "$work/poetry/quantangshi"
if [[ ! -d "$work/node_modules/playwright-core" ]] &&
   ! npm install --prefix "$work" --no-audit --no-fund --loglevel=error playwright-core@1.57 >/dev/null; then
  echo "browser-test: playwright-core could not be installed from npm; skipped"
  exit 77
fi
# Made-up lines: two for each character at the head.
cat > "$work/poetry/quantangshi/poet.tang.0.json" <<'JSON'
[{"author": "甲", "title": "试笔", "paragraphs": ["春来山色好，春去水流长。", "风起白云远，风清照夕阳。"]}]
JSON
"$build/poemd/miravel-poemd-index" --poetry "$work/poetry" --out "$work/test.idx" 2>/dev/null
port=$((20000 + RANDOM % 20000))
"$build/poemd/miravel-poemd" --index "$work/test.idx" --listen "127.0.0.1:$port" 2>"$work/poemd.log" &
service=$!
trap 'kill $service 2>/dev/null || true' EXIT
"$root/scripts/wait-for-port.sh" "$port" $service
cp "$root/poemd/browser_test.mjs" "$work/"
node "$work/browser_test.mjs" "http://127.0.0.1:$port/" "$work/browser.png"
