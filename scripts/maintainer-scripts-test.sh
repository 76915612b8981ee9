#!/usr/bin/env bash
# miravel-poemd's maintainer scripts (deploy/debian/miravel-poemd) do what
# dpkg's callers expect of a service: each script runs with stand-ins for
# systemctl, deb-systemd-helper and deb-systemd-invoke that record their
# arguments, once where systemd runs (a private /run holding
# /run/systemd/system, in a mount namespace of the test's own) and once
# where it does not.
# Usage: scripts/maintainer-scripts-test.sh. Exits 77 (skipped) when no
# mount namespace can be made (not root, or no unshare).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
scripts="$root/deploy/debian/miravel-poemd"
if ! unshare -m true 2>/dev/null; then
  echo "maintainer-scripts-test: cannot make a mount namespace; skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
for tool in systemctl deb-systemd-helper deb-systemd-invoke; do
  printf '#!/bin/sh\necho "%s $*" >> "$CALLS"\n' "$tool" > "$work/bin/$tool"
  chmod +x "$work/bin/$tool"
done
# deb-systemd-helper's was-enabled: true unless the admin disabled the unit.
cat > "$work/bin/deb-systemd-helper" <<'SH'
#!/bin/sh
echo "deb-systemd-helper $*" >> "$CALLS"
[ "$1 $2" != "--quiet was-enabled" ] || [ -z "${DISABLED:-}" ]
SH

status=0
# run SYSTEMD(yes|no) SCRIPT ARGS... : prints the calls the script made.
run() {
  local systemd=$1 script=$2
  shift 2
  : > "$work/calls"
  if [[ $systemd == yes ]]; then
    CALLS="$work/calls" PATH="$work/bin:$PATH" unshare -m sh -c \
      'mount -t tmpfs none /run && mkdir -p /run/systemd/system && exec "$@"' sh \
      "$scripts/$script" "$@" >/dev/null
  else
    CALLS="$work/calls" PATH="$work/bin:$PATH" unshare -m sh -c \
      'mount -t tmpfs none /run && exec "$@"' sh "$scripts/$script" "$@" >/dev/null
  fi
  grep -v -- "--quiet was-enabled" "$work/calls" | tr '\n' ';' || true
}
expect() {  # NAME EXPECTED ACTUAL
  if [[ "$2" == "$3" ]]; then
    echo "ok   $1"
  else
    echo "FAIL $1: expected [$2], got [$3]"
    status=1
  fi
}

unit=miravel-poemd.service
expect "install: enabled and started" \
  "deb-systemd-helper enable $unit;systemctl --system daemon-reload;deb-systemd-invoke start $unit;" \
  "$(run yes postinst configure)"
expect "upgrade: restarted, so that the new program serves" \
  "deb-systemd-helper enable $unit;systemctl --system daemon-reload;deb-systemd-invoke restart $unit;" \
  "$(run yes postinst configure 1.0.0.0)"
expect "upgrade of a unit the admin disabled: kept disabled, still restarted" \
  "deb-systemd-helper update-state $unit;systemctl --system daemon-reload;deb-systemd-invoke restart $unit;" \
  "$(DISABLED=1 run yes postinst configure 1.0.0.0)"
expect "remove: stopped" "deb-systemd-invoke stop $unit;" "$(run yes prerm remove)"
expect "upgrade: not stopped before the new files are in" "" "$(run yes prerm upgrade 1.2.0.0)"
expect "after remove: systemd forgets the unit" "systemctl --system daemon-reload;" \
  "$(run yes postrm remove)"
expect "purge: the enablement is cleaned up" "deb-systemd-helper purge $unit;" \
  "$(run yes postrm purge)"
expect "install without systemd (a chroot, an image): enabled, nothing started" \
  "deb-systemd-helper enable $unit;" "$(run no postinst configure)"
expect "remove without systemd: nothing stopped" "" "$(run no prerm remove)"
expect "install into another root (DPKG_ROOT): nothing started" \
  "deb-systemd-helper enable $unit;" "$(DPKG_ROOT=/nonexistent run yes postinst configure)"
exit $status
