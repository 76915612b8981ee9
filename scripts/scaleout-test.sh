#!/usr/bin/env bash
# Scale-out behind nginx, as deploy/nginx.conf ships it: two replicas of
# miravel-poemd (made-up corpus) behind nginx on loopback, wrk posting poem
# requests through nginx; one replica is killed half-way. No request may
# fail, and both replicas must have served.
# Usage: scripts/scaleout-test.sh [BUILD_DIR]. Exits 77 (skipped) without
# nginx or wrk.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
if ! command -v nginx >/dev/null || ! command -v wrk >/dev/null; then
  echo "scaleout-test: needs nginx and wrk; skipped"
  exit 77
fi
work="$build/scaleout-test"
rm -rf "$work"
"$root/scripts/made-up-index.sh" "$build" "$work"

base=$((20000 + RANDOM % 20000))
front=$base first=$((base + 1)) second=$((base + 2))
pids=()
trap 'kill -INT "${pids[@]}" 2>/dev/null || true; "$root/scripts/nginx-scratch.sh" stop "$work"' EXIT
for port in $first $second; do
  "$build/poemd/miravel-poemd" --index "$work/test.idx" --listen "127.0.0.1:$port" \
    --max-per-address 0 --threads 1 2>"$work/replica-$port.log" &
  pids+=($!)
  "$root/scripts/wait-for-port.sh" "$port" $!
done
# The shipped configuration, on this test's ports, with the two replicas.
sed -e "s/listen 80;/listen 127.0.0.1:$front;/" \
    -e "s/127.0.0.1:8081/127.0.0.1:$first/" -e "s/127.0.0.1:8082/127.0.0.1:$second/" \
    -e "/127.0.0.1:8083/d" "$root/deploy/nginx.conf" > "$work/site.conf"
"$root/scripts/nginx-scratch.sh" start "$work"
"$root/scripts/wait-for-port.sh" "$front"

wrk -t2 -c8 -d6s -s "$root/bench/poemd_load.lua" "http://127.0.0.1:$front/qm/cts.php" \
  > "$work/wrk.txt" &
load=$!
sleep 3
kill -9 "${pids[0]}"
echo "scaleout-test: killed the replica on port $first"
wait $load
cat "$work/wrk.txt"
status=0
if grep -qE "Non-2xx|Socket errors" "$work/wrk.txt"; then
  echo "scaleout-test: FAIL some requests failed"
  status=1
fi
for port in $first $second; do
  served=$(grep -c '"POST /qm/cts.php" 200' "$work/replica-$port.log" || true)
  echo "scaleout-test: the replica on port $port served $served poems"
  if [[ "$served" -eq 0 ]]; then status=1; fi
done
exit $status
