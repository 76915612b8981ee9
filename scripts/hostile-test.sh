#!/usr/bin/env bash
# miravel-poemd under hostile clients (poemd/http/hostile_test.py) on a made-up
# corpus: slow senders, idle floods, pipelining, lying lengths, a big chunk,
# and SIGINT with all of them connected; the service must exit 0.
# Usage: scripts/hostile-test.sh [BUILD_DIR] [SLOW IDLE]. Exits 77 (skipped)
# without python3.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
slow="${2:-3000}" idle="${3:-5000}"
if ! command -v python3 >/dev/null; then
  echo "hostile-test: needs python3; skipped"
  exit 77
fi
work="$build/hostile-test"
"$root/scripts/made-up-index.sh" "$build" "$work"
# Both ends hold thousands of sockets.
ulimit -n "$(ulimit -Hn)"
port=$((20000 + RANDOM % 12000))
"$build/poemd/miravel-poemd" --index "$work/test.idx" --listen "127.0.0.1:$port" \
  2>"$work/poemd.log" &
service=$!
trap 'kill -9 $service 2>/dev/null || true' EXIT
"$root/scripts/wait-for-port.sh" "$port" $service
status=0
python3 "$root/poemd/http/hostile_test.py" "$port" "$service" "$slow" "$idle" || status=$?
wait $service && code=0 || code=$?
if [[ $code -ne 0 ]]; then
  echo "FAIL the service exited $code after SIGINT"
  status=1
else
  echo "ok   the service exited 0 after SIGINT"
fi
exit $status
