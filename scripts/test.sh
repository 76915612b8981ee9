#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --test
scripts/check-layers.sh
scripts/build.sh default
ctest --preset default -j2
# Nothing a test started may outlive the tests.
scripts/no-leftovers.sh "$PWD/build"
