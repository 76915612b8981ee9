#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 30).
# Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
scripts/build.sh fuzz
mkdir -p build-fuzz/corpus
for target in extraction_fuzzer web_text_fuzzer index_loader_fuzzer; do
  mkdir -p "build-fuzz/corpus/$target"
  echo "fuzz: $target for ${seconds}s"
  QT_QPA_PLATFORM=offscreen "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 "build-fuzz/corpus/$target" \
    fuzz/seeds/"$target" 2>&1 | tail -n 12
done
