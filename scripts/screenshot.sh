#!/usr/bin/env bash
# Opens the real window under Xvfb and saves a screenshot of it.
# Usage: scripts/screenshot.sh [OUTPUT.png]   (needs a built tree)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/miravel-window.png}"
xvfb-run -a -s "-screen 0 640x400x24" bash -c '
  build/composer/qt/miravel & app=$!
  scripts/wait-for-window.sh $app >/dev/null
  sleep 0.5
  import -window root "$0"
  kill $app; wait $app 2>/dev/null || true
' "$out"
echo "screenshot: $out"
