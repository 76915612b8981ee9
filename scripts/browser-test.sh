#!/usr/bin/env bash
# Browser test of miravel-poemd on a made-up corpus (poemd/serve/browser_test.mjs):
# headless Chromium at a desktop's and a phone's size uses the form, a poem,
# swaps, its address, diagonal hiding and bad input; screenshots go to
# BUILD_DIR/browser-test/. Usage: scripts/browser-test.sh [BUILD_DIR [INDEX]]
# (INDEX: a real index instead of the made-up one). Exits 77 (skipped) when
# Chromium or npm is missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
if [[ ! -x /usr/bin/chromium ]] || ! command -v npm >/dev/null; then
  echo "browser-test: needs Debian's chromium and npm; skipped"
  exit 77
fi
work="$build/browser-test"
mkdir -p "$work"
if [[ ! -d "$work/node_modules/playwright-core" || ! -d "$work/node_modules/axe-core" ]] &&
   ! npm install --prefix "$work" --no-audit --no-fund --loglevel=error playwright-core@1.57 \
       axe-core@4.10 >/dev/null; then
  echo "browser-test: playwright-core or axe-core could not be installed from npm; skipped"
  exit 77
fi
index="${2:-$work/test.idx}"
if [[ -z "${2:-}" ]]; then "$root/scripts/made-up-index.sh" "$build" "$work"; fi
port=$((20000 + RANDOM % 12000))
"$build/poemd/miravel-poemd" --index "$index" --listen "127.0.0.1:$port" 2>"$work/poemd.log" &
service=$!
trap 'kill -INT $service 2>/dev/null || true' EXIT
"$root/scripts/wait-for-port.sh" "$port" $service
cp "$root/poemd/serve/browser_test.mjs" "$work/"
node "$work/browser_test.mjs" "http://127.0.0.1:$port/" "$work"
