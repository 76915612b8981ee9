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
name=scaleout-test
source "$root/scripts/behind-nginx.sh"

for port in "${ports[@]}"; do
  "$build/poemd/miravel-poemd" --index "$work/test.idx" --listen "127.0.0.1:$port" \
    --max-per-address 0 --picture-renders-per-address 0 --threads 1 \
    2>"$work/replica-$port.log" &
  pids+=($!)
  "$root/scripts/wait-for-port.sh" "$port" $!
done
start_nginx

wrk -t2 -c8 -d6s -s "$root/bench/poemd_load.lua" "http://127.0.0.1:$front/qm/cts.php" \
  > "$work/wrk.txt" &
load=$!
sleep 3
kill -9 "${pids[0]}"
echo "scaleout-test: killed the replica on port ${ports[0]}"
wait $load
status=0
no_request_failed || status=1
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
each_replica_served replica "" || status=1
exit $status
