#!/usr/bin/env bash
# Pictures against poems: from one address, 32 connections ask for distinct
# pictures (bench/picture_flood.lua) for SECONDS (default 10) while two
# readers ask for poems, one through the client's route and one through a
# poem page, one request at a time each; prints the readers' latencies and
# refusals, the flood's replies by status, and the service's RSS before and
# after. Then a picture asked for again, one connection, for 5 s.
# Usage: bench/picture_flood.sh [BUILD_DIR] [INDEX] [SECONDS] [-- SERVICE OPTIONS]
# (needs wrk)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
index="${2:-$build/corpus/poems.idx}"
seconds="${3:-10}"
shift $(($# < 3 ? $# : 3))
[[ "${1:-}" == "--" ]] && shift
port=$((20000 + RANDOM % 12000))
log="$(mktemp)"
"$build/poemd/miravel-poemd" --index "$index" --listen "127.0.0.1:$port" "$@" 2>"$log" &
poemd=$!
trap 'kill -INT $poemd 2>/dev/null; rm -f "$log" "$log".*' EXIT
"$root/scripts/wait-for-port.sh" "$port" $poemd
base="http://127.0.0.1:$port"
rss() { awk '/VmRSS/ { print $2 / 1024 " MB" }' "/proc/$poemd/status"; }
echo "RSS before: $(rss)"
wrk -t2 -c32 -d"${seconds}s" -s "$root/bench/picture_flood.lua" "$base/" > "$log.flood" &
flood=$!
sleep 0.5
wrk -t1 -c1 -d"$((seconds - 1))s" --latency -s "$root/bench/poemd_load.lua" "$base/qm/cts.php" \
  > "$log.client" &
client=$!
wrk -t1 -c1 -d"$((seconds - 1))s" --latency -s "$root/bench/poem_page.lua" "$base/" > "$log.page"
wait $client $flood
for reader in client page; do
  echo "poems through the $reader route:"
  grep -E "^ +(50|90|99)%|Latency +|Requests/sec|Non-2xx|Socket errors" "$log.$reader" || true
done
echo "the flood:"
grep -E "Requests/sec|^pictures|Socket errors" "$log.flood" || true
echo "RSS after: $(rss)"
again="$base/%E6%98%A5%E9%A3%8E%E8%8A%B1%E6%9C%88/%E4%BA%94%E8%A8%80%E8%97%8F%E5%A4%B4/k3x9z.png"
curl -s -o /dev/null "$again"
echo "a picture asked for again:"
wrk -t1 -c1 -d5s --latency "$again" | grep -E "^ +(50|99)%|Requests/sec|Non-2xx" || true
