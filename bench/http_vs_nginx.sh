#!/usr/bin/env bash
# The service's HTTP layer and its composition against nginx (one worker)
# serving a static page the size of the form page, with wrk -t2 -c16 on
# loopback, alternated ROUNDS times (default 3) in one run. Prints requests
# per second and p99 of each, and the ratios to nginx.
# Usage: bench/http_vs_nginx.sh [BUILD_DIR] [INDEX] [ROUNDS]
# Needs nginx and wrk (apt-get install nginx-light wrk).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
index="${2:-$build/corpus/poems.idx}"
rounds="${3:-3}"
work="$(mktemp -d)"
trap 'kill -INT $poemd 2>/dev/null; "$root/scripts/nginx-scratch.sh" stop "$work"; rm -rf "$work"' EXIT
nginx_port=$((20000 + RANDOM % 6000)) poemd_port=$((26000 + RANDOM % 6000))

"$build/poemd/miravel-poemd" --index "$index" --listen "127.0.0.1:$poemd_port" 2>/dev/null &
poemd=$!
"$root/scripts/wait-for-port.sh" "$poemd_port" $poemd
mkdir -p "$work/html"
curl -s "http://127.0.0.1:$poemd_port/" -o "$work/form.html"
head -c "$(stat -c %s "$work/form.html")" /dev/zero | tr '\0' 'x' > "$work/html/page.html"
cat > "$work/site.conf" <<CONF
server {
  listen 127.0.0.1:$nginx_port backlog=4096;
  access_log $work/logs/access.log;
  location / { root $work/html; try_files /page.html =404; }
}
CONF
"$root/scripts/nginx-scratch.sh" start "$work" 10000
"$root/scripts/wait-for-port.sh" "$nginx_port"

measure() {  # label, wrk arguments...
  local label=$1; shift
  wrk -t2 -c16 -d5s --latency "$@" | awk -v label="$label" '
    /Requests\/sec/ { rps = $2 } / 99%/ { p99 = $2 }
    END { printf "%-8s %10.0f req/s  p99 %s\n", label, rps, p99 }'
}
for round in $(seq "$rounds"); do
  measure nginx "http://127.0.0.1:$nginx_port/"
  measure form "http://127.0.0.1:$poemd_port/"
  measure compose -s "$root/bench/poemd_load.lua" "http://127.0.0.1:$poemd_port/qm/cts.php"
done | tee "$work/results"
awk '{ sum[$1] += $2; n[$1]++ }
  END { printf "form/nginx %.0f%%, compose/nginx %.0f%%\n",
        100 * sum["form"] / n["form"] / (sum["nginx"] / n["nginx"]),
        100 * sum["compose"] / n["compose"] / (sum["nginx"] / n["nginx"]) }' "$work/results"
