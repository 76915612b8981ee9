#!/usr/bin/env bash
# Two builds of miravel-poemd on one index, side by side: the client route
# (五言藏头 via bench/poemd_load.lua), a poem page at its short address
# (bench/poem_page.lua) and a swap (bench/swap.lua), each with wrk -t2 -c16
# for 10 s, alternated ROUNDS times (default 3) in one run. Prints per run
# requests per second, p99 and the service's CPU time per request (user and
# system, from /proc), then each route's medians. With TOGETHER=1 the two
# are asked at the same time, each by its own wrk, so that whatever else a
# busy machine is doing weighs on both alike (the CPU time a request is
# then the figure to compare: the one that needs less answers more).
# OLD_INDEX gives the old build an index of its own (an older index format).
# Usage: [TOGETHER=1] [OLD_INDEX=...] bench/service_vs.sh OLD_BINARY NEW_BINARY [INDEX] [ROUNDS] [CONNECTIONS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
old="$1" new="$2"
index="${3:-$root/build/corpus/poems.idx}"
rounds="${4:-3}"
connections="${5:-16}"
work="$(mktemp -d)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
declare -A port
for which in old new; do
  port[$which]=$((20000 + RANDOM % 9000))
  binary=$old binary_index=${OLD_INDEX:-$index}
  [[ $which == new ]] && binary=$new binary_index=$index
  "$binary" --index "$binary_index" --listen "127.0.0.1:${port[$which]}" --max-per-address 0 \
    2>/dev/null &
  pids+=($!)
  eval "pid_$which=$!"
  "$root/scripts/wait-for-port.sh" "${port[$which]}" $!
done
ticks=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }  # user + system ticks
measure() {  # which, route label, wrk arguments...
  local which=$1 label=$2; shift 2
  local pid
  pid=$(eval echo "\$pid_$which")
  local before after
  before=$(cpu "$pid")
  wrk -t2 -c"$connections" -d10s --latency "$@" > "$work/wrk.$which" || true
  after=$(cpu "$pid")
  awk -v which="$which" -v label="$label" -v ticks="$((after - before))" -v hz="$ticks" '
    /Requests\/sec/ { rps = $2 } / 99%/ { p99 = $2 } /requests in/ { n = $1 }
    END { printf "%-4s %-7s %8.0f req/s  p99 %8s  CPU %6.0f us/request\n",
          which, label, rps, p99, n ? ticks / hz * 1e6 / n : 0 }' "$work/wrk.$which"
}
routes=("client poemd_load.lua /qm/cts.php" "page poem_page.lua /" "swap swap.lua /")
for round in $(seq "$rounds"); do
  if [[ -n ${TOGETHER:-} ]]; then
    for route in "${routes[@]}"; do
      read -r label script path <<< "$route"
      measure old "$label" -s "$root/bench/$script" "http://127.0.0.1:${port[old]}$path" &
      asked=$!
      measure new "$label" -s "$root/bench/$script" "http://127.0.0.1:${port[new]}$path"
      wait "$asked"
    done
  else
    for which in old new; do
      for route in "${routes[@]}"; do
        read -r label script path <<< "$route"
        measure "$which" "$label" -s "$root/bench/$script" "http://127.0.0.1:${port[$which]}$path"
      done
    done
  fi
done | tee "$work/results"
echo "medians:"
sort -k1,2 "$work/results" | awk '
  # the middle of a list of numbers (mawk has no asort)
  function median(list,    v, n, i, j, t) {
    n = split(list, v, " ")
    for (i = 2; i <= n; i++)
      for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return v[int((n + 1) / 2)]
  }
  { key = $1 " " $2; rps[key] = rps[key] " " $3; cpu[key] = cpu[key] " " $(NF-1) }
  END { for (k in rps) printf "  %-12s %8.0f req/s  CPU %6.0f us/request\n", k, median(rps[k]), median(cpu[k]) }' | sort
