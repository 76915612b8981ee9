#!/usr/bin/env bash
# The Kubernetes manifests (deploy/kubernetes) against the Kubernetes 1.27
# schemas and what an operator expects of them (scripts/validate-manifests.mjs).
# Usage: scripts/manifests-test.sh [BUILD_DIR]. Exits 77 (skipped) when
# node or the npm packages cannot be had.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
work="$build/manifests-test"
mkdir -p "$work"
if ! command -v node >/dev/null; then
  echo "manifests-test: needs node; skipped"
  exit 77
fi
if [[ ! -d "$work/node_modules/kubernetes-models" ]] &&
   ! npm install --prefix "$work" --no-audit --no-fund --loglevel=error \
       kubernetes-models@5.1.0 js-yaml@4.1.0 >/dev/null; then
  echo "manifests-test: kubernetes-models could not be installed from npm; skipped"
  exit 77
fi
# Node resolves packages from the script's own folder upwards.
cp "$root/scripts/validate-manifests.mjs" "$work/"
exec node "$work/validate-manifests.mjs" "$root"/deploy/kubernetes/*.yaml
