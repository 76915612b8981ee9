#!/usr/bin/env bash
# Prints the id of the visible Miravel window of process PID once it shows,
# waiting at most SECONDS (default 30); status 1 when the process ends first
# or the time runs out. xdotool's own --sync is not used: a window the
# program makes and destroys while starting can vanish between xdotool
# listing it and reading it, and xdotool then dies of BadWindow.
# Usage: scripts/wait-for-window.sh PID [SECONDS]
pid=$1 seconds=${2:-30}
for _ in $(seq $((seconds * 20))); do
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "wait-for-window: process $pid ended before its window showed" >&2
    exit 1
  fi
  window=$(xdotool search --all --onlyvisible --pid "$pid" --name Miravel 2>/dev/null | head -n 1)
  if [[ -n "$window" ]]; then
    echo "$window"
    exit 0
  fi
  sleep 0.05
done
echo "wait-for-window: no window of process $pid within $seconds s" >&2
exit 1
