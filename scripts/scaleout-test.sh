#!/usr/bin/env bash
# Scale-out behind nginx, as deploy/nginx.conf ships it: two replicas of
# miravel-poemd (made-up corpus) behind nginx on loopback, wrk posting poem
# requests through nginx; one replica is killed half-way. No request may
# fail, and both replicas must have served. Then pictures: nginx keeps one
# drawn (MISS, then HIT) and refuses a client asking for many with 429.
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

# Below the kernel's ephemeral ports (32768 up), which the load's own
# connections take.
base=$((20000 + RANDOM % 12000))
front=$base first=$((base + 1)) second=$((base + 2))
pids=()
trap 'kill -INT "${pids[@]}" 2>/dev/null || true; "$root/scripts/nginx-scratch.sh" stop "$work"' EXIT
for port in $first $second; do
  "$build/poemd/miravel-poemd" --index "$work/test.idx" --listen "127.0.0.1:$port" \
    --max-per-address 0 --picture-renders-per-address 0 --threads 1 \
    2>"$work/replica-$port.log" &
  pids+=($!)
  "$root/scripts/wait-for-port.sh" "$port" $!
done
# The shipped configuration, on this test's ports, with the two replicas.
sed -e "s/listen 80;/listen 127.0.0.1:$front;/" \
    -e "s/127.0.0.1:8081/127.0.0.1:$first/" -e "s/127.0.0.1:8082/127.0.0.1:$second/" \
    -e "/127.0.0.1:8083/d" -e "s|/var/cache/nginx/miravel|$work/pictures|" "$root/deploy/nginx.conf" > "$work/site.conf"
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
# Pictures as nginx serves them: drawn once, then kept; a client asking for
# many at once is told to wait.
picture="http://127.0.0.1:$front/%E6%98%A5%E9%A3%8E/%E4%BA%94%E8%A8%80%E8%97%8F%E5%A4%B4"
cache_status() { curl -s -o /dev/null -D - "$1" | tr -d '\r' | awk -F': ' 'tolower($1) == "x-cache-status" {print $2}'; }
drawn=$(cache_status "$picture/k3x9z.png") kept=$(cache_status "$picture/k3x9z.png")
echo "scaleout-test: a picture through nginx: $drawn, then $kept"
if [[ "$drawn" != MISS || "$kept" != HIT ]]; then status=1; fi
refused=0
for seed in $(seq 100 140); do
  code=$(curl -s -o /dev/null -w '%{http_code}' "$picture/$seed.svg")
  if [[ "$code" == 429 ]]; then refused=$((refused + 1)); fi
done
echo "scaleout-test: 41 distinct pictures at once from one client: $refused refused with 429"
if [[ "$refused" -eq 0 ]]; then status=1; fi
for port in $first $second; do
  served=$(grep -c '"POST /qm/cts.php" 200' "$work/replica-$port.log" || true)
  echo "scaleout-test: the replica on port $port served $served poems"
  if [[ "$served" -eq 0 ]]; then status=1; fi
done
exit $status
