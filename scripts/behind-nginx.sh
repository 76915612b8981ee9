# Sourced by the tests that run two replicas of miravel-poemd behind nginx
# under wrk (scaleout-test.sh, rolling-restart-test.sh). Given `root`,
# `build` and `name` (the test's), it skips the test (exit 77) without nginx
# or wrk, makes the test's `work` folder with the made-up index (test.idx),
# and picks the ports: `front` for nginx, the two `ports` for the replicas.
# The processes whose ids the test puts in `pids` are stopped on exit, and
# nginx with them.
if ! command -v nginx >/dev/null || ! command -v wrk >/dev/null; then
  echo "$name: needs nginx and wrk; skipped"
  exit 77
fi
work="$build/$name"
rm -rf "$work"
"$root/scripts/made-up-index.sh" "$build" "$work"

# Below the kernel's ephemeral ports (32768 up), which the load's own
# connections take.
base=$((20000 + RANDOM % 12000))
front=$base ports=($((base + 1)) $((base + 2)))
pids=()
trap 'kill -INT "${pids[@]}" 2>/dev/null || true; "$root/scripts/nginx-scratch.sh" stop "$work"' EXIT

# start_nginx [SED-EXPRESSION...]: nginx on `front` as deploy/nginx.conf
# ships it, with the two replicas as its upstream and its picture cache in
# `work`, changed by the expressions given; returns once it listens.
start_nginx() {
  local edits=() expression
  for expression in "$@"; do edits+=(-e "$expression"); done
  sed -e "s/listen 80;/listen 127.0.0.1:$front;/" \
      -e "s/127.0.0.1:8081/127.0.0.1:${ports[0]}/" -e "s/127.0.0.1:8082/127.0.0.1:${ports[1]}/" \
      -e "/127.0.0.1:8083/d" -e "s|/var/cache/nginx/miravel|$work/pictures|" "${edits[@]}" \
      "$root/deploy/nginx.conf" > "$work/site.conf"
  "$root/scripts/nginx-scratch.sh" start "$work"
  "$root/scripts/wait-for-port.sh" "$front"
}

# poems_served LOG: how many poems the replica that wrote LOG answered.
poems_served() { grep -c '"POST /qm/cts.php" 200' "$1" || true; }

# no_request_failed: prints wrk's report ($work/wrk.txt); false when a
# request failed.
no_request_failed() {
  cat "$work/wrk.txt"
  if grep -qE "Non-2xx|Socket errors" "$work/wrk.txt"; then
    echo "$name: FAIL some requests failed"
    return 1
  fi
}

# each_replica_served WHICH SUFFIX: says how many poems each replica (WHICH
# names them) answered by its log, $work/replica-PORT$SUFFIX.log; false when
# one answered none.
each_replica_served() {
  local port served every=0
  for port in "${ports[@]}"; do
    served=$(poems_served "$work/replica-$port$2.log")
    echo "$name: the $1 on port $port served $served poems"
    if [[ "$served" -eq 0 ]]; then every=1; fi
  done
  return $every
}
