#!/usr/bin/env bash
# Installs what is missing, builds, makes the poem corpus index when it is
# missing, starts miravel-poemd on 127.0.0.1:80 and opens the Miravel window.
# Closing the window stops the service.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh default
scripts/corpus.sh

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: run it under Xvfb with  xvfb-run -a -s '-screen 0 800x600x24' scripts/run.sh"
  exit 1
fi

service=build/poemd/miravel-poemd
if [[ $(id -u) -ne 0 ]] && ! getcap "$service" 2>/dev/null | grep -q cap_net_bind_service; then
  # Port 80 is privileged; let the service bind it without running as root.
  sudo setcap cap_net_bind_service=+ep "$service"
fi
"$service" --index build/corpus/poems.idx --listen 127.0.0.1:80 &
service_pid=$!
trap 'kill -INT $service_pid 2>/dev/null; wait $service_pid 2>/dev/null || true' EXIT
if ! scripts/wait-for-port.sh 80 $service_pid; then echo "run: miravel-poemd did not start"; exit 1; fi
build/composer/qt/miravel
