#!/usr/bin/env bash
# The Debian packages as a user gets them: builds the index (scripts/corpus.sh)
# and the three packages (cpack), checks them with lintian (no error, no
# warning, no hardening tag), the service's maintainer scripts are in its
# control archive, the metainfo with appstreamcli and the unit with
# systemd-analyze (verify, and a security exposure of at most 2.0), installs
# them into a throwaway root with dpkg --root (the maintainer scripts run
# there as in a chroot: the unit is enabled, nothing is started), starts the
# installed service on a loopback port and has the installed client compose
# a poem from it under Xvfb; then purges the service and finds its unit's
# enablement gone.
# Usage: scripts/package-test.sh   (from a built tree: scripts/build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
scripts/corpus.sh
rm -f build/*.deb
(cd build && cpack -G DEB >/dev/null)
ls build/*.deb
echo "== lintian"
lintian --fail-on error,warning --display-info build/*.deb | tee build/lintian.txt
if grep -E "hardening-" build/lintian.txt; then
  echo "package-test: a binary lacks Debian's hardening"
  exit 1
fi
echo "== the service's maintainer scripts"
control=$(dpkg-deb --ctrl-tarfile build/miravel-poemd_*.deb | tar -t | sort | tr '\n' ' ')
echo "$control"
for script in postinst prerm postrm; do
  [[ " $control " == *" ./$script "* ]] || { echo "package-test: no $script"; exit 1; }
done
dpkg-deb --field build/miravel-poemd_*.deb Depends
dpkg-deb --field build/miravel-poemd-data_*.deb Provides

root=$(mktemp -d)
pids=()
trap 'kill -INT "${pids[@]}" 2>/dev/null || true; rm -rf "$root"' EXIT
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# The libraries come from this machine; only the packages go into the root.
# The maintainer scripts run with this machine's tools and DPKG_ROOT set, as
# when an image is built.
dpkg --root="$root" --force-depends --force-script-chrootless -i build/*.deb >/dev/null
dpkg --root="$root" -l | grep -E '^ii +miravel'
wants="$root/etc/systemd/system/multi-user.target.wants/miravel-poemd.service"
[[ -L "$wants" ]] || { echo "package-test: the unit was not enabled"; exit 1; }
echo "enabled: $(readlink "$wants")"

echo "== metainfo"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
echo "== systemd unit"
# verify loads the unit with the system's own targets.
mkdir -p "$root/usr/lib/systemd"
cp -r /usr/lib/systemd/system "$root/usr/lib/systemd/"
systemd-analyze verify --man=no --root="$root" "$root/lib/systemd/system/miravel-poemd.service"
exposure=$(systemd-analyze security --offline=yes --root="$root" miravel-poemd.service |
  sed -n 's/.*Overall exposure level for miravel-poemd.service: \([0-9.]*\).*/\1/p')
echo "exposure level $exposure"
awk -v e="$exposure" 'BEGIN { exit !(e != "" && e <= 2.0) }'

echo "== the installed service and client"
"$root/usr/bin/miravel-poemd" --version
"$root/usr/bin/miravel" --version
port=$((20000 + RANDOM % 12000))
"$root/usr/bin/miravel-poemd" --index "$root/usr/share/miravel-poemd/poems.idx" \
  --listen "127.0.0.1:$port" 2>"$root/poemd.log" &
pids+=($!)
scripts/wait-for-port.sh "$port" $!
curl -sf "http://127.0.0.1:$port/healthz"
scripts="$PWD/scripts" xvfb-run -a -s "-screen 0 640x400x24" bash -c '
  set -euo pipefail
  root=$1 port=$2
  "$root/usr/bin/miravel" --service "127.0.0.1:$port" --echo-status >/dev/null 2>"$root/client.log" &
  client=$!
  trap "kill $client 2>/dev/null || true" EXIT
  window=$("$scripts/wait-for-window.sh" $client)
  xdotool mousemove --window "$window" 114 56 click 1
  xdotool type --delay 30 "春风花月"
  xdotool key Return
  for _ in $(seq 100); do
    grep -qF "作诗完毕，" "$root/client.log" && break
    sleep 0.1
  done
  cat "$root/client.log"
  grep -qF "作诗完毕，" "$root/client.log"
  xdotool mousemove --window "$window" 364 112 click 1
  sleep 0.5
  poem=$(xclip -o -selection clipboard)
  echo "$poem"
  heads=$(printf "%s" "$poem" | python3 -c "import sys; print(\"\".join(l[0] for l in sys.stdin.read().split() if l))")
  [[ "$heads" == "春风花月" ]]
' package-test "$root" "$port"
echo "package-test: the installed client got its poem from the installed service"
kill -INT "${pids[@]}"
dpkg --root="$root" --force-depends --force-script-chrootless --purge miravel-poemd >/dev/null
[[ ! -e "$wants" && ! -L "$wants" ]] || { echo "package-test: purge left the unit enabled"; exit 1; }
echo "package-test: purged, and the unit's enablement is gone"
