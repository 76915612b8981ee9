#!/usr/bin/env bash
# Installs the Debian packages Miravel builds and runs with; with --test,
# also those only its tests use. Idempotent, and quick when everything is
# there already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcurl4-openssl-dev libicu-dev libcpp-httplib-dev libcairo2-dev libpango1.0-dev libpng-dev
  libopencc-dev unicode-data bzip2
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  nlohmann-json3-dev libeigen3-dev libxxhash-dev libcli11-dev libboost-dev
  xvfb xauth xdotool xclip imagemagick fonts-noto-cjk
  curl libcap2-bin python3
)
# The tests also use a browser, nginx and wrk (scale-out), and the package
# checks (dpkg-shlibdeps, lintian, appstreamcli, systemd-analyze).
if [[ "${1:-}" == "--test" ]]; then
  packages+=(chromium nginx-light wrk dpkg-dev lintian appstream systemd)
fi
# The container test: podman with runc (and catatonit for a pod's infra
# container), and mmdebstrap for the Debian base image.
if [[ "${1:-}" == "--containers" ]]; then
  packages=(podman runc catatonit mmdebstrap curl python3 bc)
fi
# The corpus comes from npm: Node.js and npm, unless some other install
# already provides the commands.
if ! command -v node >/dev/null 2>&1; then packages+=(nodejs); fi
if ! command -v npm >/dev/null 2>&1; then packages+=(npm); fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
