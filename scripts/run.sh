#!/usr/bin/env bash
# Installs what is missing, builds, and opens the Miravel window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh default
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: run it under Xvfb with  xvfb-run -s '-screen 0 800x600x24' scripts/run.sh"
  exit 1
fi
exec build/composer/miravel
