#!/usr/bin/env bash
# Smoke test of the real program: miravel under Xvfb against the stand-in
# poem service on 127.0.0.1:80. Types two hidden characters, presses 开始作诗,
# presses 复制结果, checks the clipboard and saves a screenshot.
# Usage: scripts/smoke.sh [BUILD_DIR]. Exits 77 (skipped) when it cannot
# listen on port 80 (not root, or the port is taken).
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
out="$build/smoke.png"

"$build/composer/miravel-stand-in" 80 2>/dev/null &
service=$!
trap 'kill $service 2>/dev/null || true' EXIT
if ! "$(dirname "$0")/wait-for-port.sh" 80 $service; then
  echo "smoke: port 80 unavailable, skipped"
  exit 77
fi

# Two lines of five characters, the hidden one at the head: what the
# stand-in composes for 春风.
expected=$'春春风花月\r\n风花月山水\r\n'

xvfb-run -a -s "-screen 0 640x400x24" bash -c '
  set -euo pipefail
  build=$1 expected=$2 out=$3
  "$build/composer/miravel" & app=$!
  trap "kill $app 2>/dev/null || true" EXIT
  window=$(xdotool search --sync --onlyvisible --name Miravel | head -n 1)
  # Window-relative centres of the controls (menu bar 22 px high).
  xdotool mousemove --window "$window" 114 56 click 1
  xdotool type --delay 50 "春风"
  xdotool mousemove --window "$window" 368 56 click 1
  for _ in $(seq 100); do
    xdotool mousemove --window "$window" 364 112 click 1
    got=$(xclip -o -selection clipboard 2>/dev/null; echo x)
    got=${got%x}
    if [[ "$got" == "$expected" ]]; then
      sleep 0.3
      import -window root "$out"
      echo "smoke: clipboard holds the poem; screenshot $out"
      exit 0
    fi
    sleep 0.1
  done
  echo "smoke: clipboard never held the poem; last: $(printf %q "$got")"
  import -window root "$out"
  exit 1
' smoke "$build" "$expected" "$out"
