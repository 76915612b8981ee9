#!/usr/bin/env bash
# miravel-poemd as an operator runs it (poemd/tools/operations_test.py), on a
# made-up corpus: a second service on a held port, and SIGTERM's drain.
# Usage: scripts/operations-test.sh [BUILD_DIR]. Exits 77 (skipped) without
# python3.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
if ! command -v python3 >/dev/null; then
  echo "operations-test: needs python3; skipped"
  exit 77
fi
work="$build/operations-test"
"$root/scripts/made-up-index.sh" "$build" "$work"
exec python3 "$root/poemd/tools/operations_test.py" "$build/poemd/miravel-poemd" "$work/test.idx"
