#!/usr/bin/env bash
# A rolling restart behind nginx under load: two replicas of miravel-poemd
# (made-up corpus) behind nginx as deploy/nginx.conf ships it, except that
# nginx never sends a POST again once sent, so that a request a stopping
# replica drops shows as an error instead of being hidden by a retry. Under
# wrk, each replica in turn gets SIGTERM, drains, exits and is started
# again, the second once the first takes requests again. No request may
# fail.
# Usage: scripts/rolling-restart-test.sh [BUILD_DIR [SERVICE [OPTION...]]]
#   SERVICE and OPTIONs replace the replica's program and drain options
#   (to measure another build). Exits 77 (skipped) without nginx or wrk.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
service="${2:-$build/poemd/miravel-poemd}"
if [[ $# -gt 2 ]]; then drain=("${@:3}"); else drain=(--drain-settle 1 --drain-deadline 5); fi
if ! command -v nginx >/dev/null || ! command -v wrk >/dev/null; then
  echo "rolling-restart-test: needs nginx and wrk; skipped"
  exit 77
fi
work="$build/rolling-restart-test"
rm -rf "$work"
"$root/scripts/made-up-index.sh" "$build" "$work"

# Below the kernel's ephemeral ports (32768 up), which the load's own
# connections take.
base=$((20000 + RANDOM % 12000))
front=$base ports=($((base + 1)) $((base + 2)))
declare -A pids
start_replica() {  # PORT GENERATION
  "$service" --index "$work/test.idx" --listen "127.0.0.1:$1" --max-per-address 0 \
    --threads 1 "${drain[@]}" 2>"$work/replica-$1-$2.log" &
  pids[$1]=$!
  "$root/scripts/wait-for-port.sh" "$1" $!
}
trap 'kill -INT "${pids[@]}" 2>/dev/null || true; "$root/scripts/nginx-scratch.sh" stop "$work"' EXIT
for port in "${ports[@]}"; do start_replica "$port" 1; done
sed -e "s/listen 80;/listen 127.0.0.1:$front;/" \
    -e "s/127.0.0.1:8081/127.0.0.1:${ports[0]}/" -e "s/127.0.0.1:8082/127.0.0.1:${ports[1]}/" \
    -e "/127.0.0.1:8083/d" -e "s|/var/cache/nginx/miravel|$work/pictures|" -e "s/ non_idempotent;/;/" "$root/deploy/nginx.conf" > "$work/site.conf"
grep -q "non_idempotent" "$work/site.conf" && { echo "rolling-restart-test: retries still on"; exit 1; }
"$root/scripts/nginx-scratch.sh" start "$work"
"$root/scripts/wait-for-port.sh" "$front"

wrk -t2 -c16 -d20s -s "$root/bench/poemd_load.lua" "http://127.0.0.1:$front/qm/cts.php" \
  > "$work/wrk.txt" &
load=$!
sleep 2
for port in "${ports[@]}"; do
  started=$(date +%s.%N)
  kill -TERM "${pids[$port]}"
  wait "${pids[$port]}" && code=0 || code=$?
  echo "rolling-restart-test: the replica on port $port exited $code after" \
    "$(echo "$(date +%s.%N) - $started" | bc) s"
  start_replica "$port" 2
  # As an operator would: the next goes only once this one is taking
  # requests again (nginx tries a failed replica again after fail_timeout).
  # A few poems are not enough: connections nginx began during the drain's
  # handshake hold-back reach the new replica late, while nginx still counts
  # it failed; the stream of requests comes only once nginx takes it back.
  for _ in $(seq 150); do
    (( $(grep -c '"POST /qm/cts.php" 200' "$work/replica-$port-2.log" || true) >= 100 )) && break
    sleep 0.1
  done
done
wait $load
cat "$work/wrk.txt"
status=0
if grep -qE "Non-2xx|Socket errors" "$work/wrk.txt"; then
  echo "rolling-restart-test: FAIL some requests were lost"
  status=1
fi
for port in "${ports[@]}"; do
  served=$(grep -c '"POST /qm/cts.php" 200' "$work/replica-$port-2.log" || true)
  echo "rolling-restart-test: the restarted replica on port $port served $served poems"
  if [[ "$served" -eq 0 ]]; then status=1; fi
done
exit $status
