#!/usr/bin/env bash
# Fails when a process started from DIR (a build tree: the services, stand-ins,
# nginx and browsers the tests start) is still running; lists them.
# Usage: scripts/no-leftovers.sh DIR
set -euo pipefail
dir=$1
left=$(ps -eo pid=,stat=,args= | awk -v dir="$dir" -v self=$$ '
  $2 !~ /^Z/ && $1 != self && index($0, dir) && $0 !~ /no-leftovers/ { print }')
if [[ -n "$left" ]]; then
  echo "no-leftovers: processes the tests started are still running:"
  echo "$left"
  exit 1
fi
