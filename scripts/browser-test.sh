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
mkdir -p "$work/poetry/quantangshi"
if [[ ! -d "$work/node_modules/playwright-core" ]] &&
   ! npm install --prefix "$work" --no-audit --no-fund --loglevel=error playwright-core@1.57 >/dev/null; then
  echo "browser-test: playwright-core could not be installed from npm; skipped"
  exit 77
fi
# Made-up lines: several for each character at the head, so that a swap
# has lines to choose from.
cat > "$work/poetry/quantangshi/poet.tang.0.json" <<'JSON'
[{"author": "甲", "title": "试笔", "paragraphs": ["春来山色好，风起白云长。", "花落江南水，月明孤客船。"]},
 {"author": "乙", "title": "春望", "paragraphs": ["春城三月暮，风柳满江烟。", "花开千树雪，月照一溪天。"]},
 {"author": "丙", "title": "晚眺", "paragraphs": ["春山一夜雨，风叶落长川。", "花影随人去，月华满客船。"]}]
JSON
index="${2:-$work/test.idx}"
if [[ -z "${2:-}" ]]; then
  "$build/poemd/miravel-poemd-index" --poetry "$work/poetry" --out "$index" 2>/dev/null
fi
port=$((20000 + RANDOM % 20000))
"$build/poemd/miravel-poemd" --index "$index" --listen "127.0.0.1:$port" 2>"$work/poemd.log" &
service=$!
trap 'kill $service 2>/dev/null || true' EXIT
"$root/scripts/wait-for-port.sh" "$port" $service
cp "$root/poemd/serve/browser_test.mjs" "$work/"
node "$work/browser_test.mjs" "http://127.0.0.1:$port/" "$work"
