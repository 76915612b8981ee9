#!/usr/bin/env bash
# Smoke test of the real program: miravel under Xvfb, each instance against
# a stand-in poem service on a free port (--service), its status bar echoed
# on standard error (--echo-status).
#   - poems: types 春风, presses Enter, then 复制结果, checks the clipboard;
#   - a poem behind a redirect arrives;
#   - a reply without poems, a service out of reach and one that never
#     answers each end with their own status message (the last after 60 s).
# Screenshots of each end go to BUILD_DIR/smoke-*.png.
# Usage: scripts/smoke.sh [BUILD_DIR]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
work="$build/smoke"
rm -rf "$work" && mkdir -p "$work"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT

# Starts a stand-in answering REPLY and sets the variable VAR to its port.
# It runs in this shell, not a subshell, so that the trap knows its pid.
stand_in() {
  local var=$1 reply=$2 fifo="$work/port-$2"
  mkfifo "$fifo"
  "$build/composer/miravel-stand-in" --reply "$reply" >"$fifo" 2>/dev/null &
  pids+=($!)
  read -r "${var?}" <"$fifo"
}
stand_in poems poems
stand_in redirect redirect
stand_in no_poems no-poems
stand_in hang hang
# A port nothing listens on: one the kernel just gave out and took back.
dead=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

scripts="$(cd "$(dirname "$0")" && pwd)" xvfb-run -a -s "-screen 0 1280x480x24" bash -c '
  set -euo pipefail
  build=$1 work=$2 poems=$3 redirect=$4 no_poems=$5 hang=$6 dead=$7 expect=$8
  failures=0
  # Opens a window on service port PORT, logging to work/NAME.log; prints
  # its window id once it shows.
  open_window() {
    local name=$1 port=$2
    "$build/composer/qt/miravel" --service "127.0.0.1:$port" --echo-status >/dev/null \
      2>"$work/$name.log" &
    echo $! >"$work/$name.pid"
    "$scripts/wait-for-window.sh" "$(cat "$work/$name.pid")" | tee "$work/$name.window"
  }
  # Pastes the characters into the input box of WINDOW and presses Enter.
  # Typing characters outside the keymap is racy in xdotool (春风 once
  # arrived as 风春风); a paste from a clipboard that xclip already owns is not.
  compose() {
    local window=$1
    printf "春风" | xclip -selection clipboard
    xdotool mousemove --window "$window" 114 56 click 1
    xdotool key ctrl+a ctrl+v Return
  }
  # Waits up to SECONDS for the window NAME to have echoed TEXT.
  expect_status() {
    local name=$1 text=$2 seconds=$3
    for _ in $(seq $((seconds * 10))); do
      if grep -qF "$text" "$work/$name.log"; then
        echo "smoke: $name says: $text"
        sleep 0.2  # the status bar repaints after the message is set
        import -window "$(cat "$work/$name.window")" "$work/../smoke-$name.png"
        kill "$(cat "$work/$name.pid")"
        return 0
      fi
      sleep 0.1
    done
    echo "smoke: $name never said: $text; it said:"; cat "$work/$name.log"
    import -window "$(cat "$work/$name.window")" "$work/../smoke-$name.png"
    failures=$((failures + 1))
  }

  # The time-out takes 60 s: started first, checked last, and set aside
  # meanwhile (there is no window manager: windows open at the same place).
  window=$(open_window timeout "$hang")
  compose "$window"
  xdotool windowmove --sync "$window" 640 0

  window=$(open_window poems "$poems")
  compose "$window"
  expect_status poems "作诗完毕，" 10
  window=$(open_window copy "$poems")
  compose "$window"
  for _ in $(seq 100); do
    if grep -qF "作诗完毕，" "$work/copy.log"; then break; fi
    sleep 0.1
  done
  xdotool mousemove --window "$window" 364 112 click 1
  got=""
  for _ in $(seq 50); do
    got=$(xclip -o -selection clipboard 2>/dev/null; echo x)
    got=${got%x}
    [[ "$got" == "$expect" ]] && break
    sleep 0.1
  done
  if [[ "$got" == "$expect" ]]; then
    echo "smoke: the clipboard holds the poem"
  else
    echo "smoke: the clipboard never held the poem; last: $(printf %q "$got")"
    failures=$((failures + 1))
  fi
  kill "$(cat "$work/copy.pid")"

  compose "$(open_window redirect "$redirect")"
  expect_status redirect "作诗完毕，" 10
  compose "$(open_window no_poems "$no_poems")"
  expect_status no_poems "作诗服务的回复里没有诗" 10
  compose "$(open_window dead "$dead")"
  expect_status dead "连不上作诗服务 127.0.0.1:$dead" 10
  expect_status timeout "作诗服务 60 秒内没有回应" 70
  exit $failures
' smoke "$build" "$work" "$poems" "$redirect" "$no_poems" "$hang" "$dead" \
  $'春春风花月\r\n风花月山水\r\n'  # what the stand-in composes for 春风
