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
name=rolling-restart-test
source "$root/scripts/behind-nginx.sh"

start_replica() {  # PORT GENERATION
  "$service" --index "$work/test.idx" --listen "127.0.0.1:$1" --max-per-address 0 \
    --threads 1 "${drain[@]}" 2>"$work/replica-$1-$2.log" &
  pids[$1]=$!
  "$root/scripts/wait-for-port.sh" "$1" $!
}
for port in "${ports[@]}"; do start_replica "$port" 1; done
start_nginx "s/ non_idempotent;/;/"
grep -q "non_idempotent" "$work/site.conf" && { echo "rolling-restart-test: retries still on"; exit 1; }

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
    (( $(poems_served "$work/replica-$port-2.log") >= 100 )) && break
    sleep 0.1
  done
done
wait $load
status=0
no_request_failed || status=1
each_replica_served "restarted replica" -2 || status=1
exit $status
