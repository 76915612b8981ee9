#!/usr/bin/env bash
# A soak of the service: wrk with mixed valid and invalid requests
# (bench/poemd_mixed.lua) for SECONDS (default 180), the service's resident
# memory sampled every 10 s, and the replies counted by status.
# Usage: bench/soak.sh [BUILD_DIR] [INDEX] [SECONDS]   (needs wrk)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
index="${2:-$build/corpus/poems.idx}"
seconds="${3:-180}"
port=$((20000 + RANDOM % 12000))
log="$(mktemp)"
"$build/poemd/miravel-poemd" --index "$index" --listen "127.0.0.1:$port" 2>"$log" &
poemd=$!
trap 'kill -INT $poemd 2>/dev/null; rm -f "$log"' EXIT
"$root/scripts/wait-for-port.sh" "$port" $poemd
rss() { awk '/VmRSS/ { print $2 / 1024 " MB" }' "/proc/$poemd/status"; }
echo "RSS at start: $(rss)"
wrk -t2 -c16 -d"${seconds}s" --latency -s "$root/bench/poemd_mixed.lua" "http://127.0.0.1:$port/" \
  > "$log.wrk" &
load=$!
for ((t = 10; t <= seconds; t += 10)); do
  sleep 10
  echo "RSS after ${t} s: $(rss)"
done
wait $load
grep -E "Requests/sec|99%|Non-2xx|Socket errors" "$log.wrk" || true
echo "replies by status:"
awk '{ for (i = 1; i <= NF; ++i) if ($i ~ /^"/ && $(i + 2) ~ /^[0-9][0-9][0-9]$/) print $(i + 2) }' "$log" |
  sort | uniq -c
kill -0 $poemd && echo "the service is still up"
rm -f "$log.wrk"
