#!/usr/bin/env bash
# Reads every #include "..." of the project's C++ files and fails when one
# points against the order of the layers in cmake/layers.txt (which CMake
# holds the links to as well).
# Usage: scripts/check-layers.sh [ROOT]
set -euo pipefail
root="$(cd "${1:-$(dirname "$0")/..}" && pwd)"
cd "$root"
rules="$(grep -v '^#' cmake/layers.txt)"

git ls-files '*.h' '*.cpp' | xargs grep -Hn '^#include "' | awk -v rules="$rules" '
  BEGIN {
    n = split(rules, lines, "\n")
    for (i = 1; i <= n; i++) {
      if (lines[i] !~ /:/) continue
      split(lines[i], parts, ":")
      folder = parts[1]; gsub(/ /, "", folder)
      uses = parts[2]; gsub(/^ +| +$/, "", uses); gsub(/ +/, " ", uses)
      listed[folder] = 1
      shown[folder] = uses == "" ? "nothing else" : uses
      allowed[folder] = " " folder " " uses " "
    }
  }
  # The longest listed folder that holds `path`, or "".
  function folder_of(path,    dir) {
    dir = path
    while (sub(/\/[^\/]*$/, "", dir)) if (dir in listed) return dir
    return ""
  }
  {
    split($0, f, ":")
    file = f[1]; line = f[2]
    include = $0; sub(/^[^"]*"/, "", include); sub(/".*$/, "", include)
    from = folder_of(file)
    if (from == "" || include ~ /^miravel\//) next
    to = folder_of(include)
    if (to == "") next
    ok = allowed[from]
    if (file ~ /_test\.cpp$|_testing\.(cpp|h)$/) ok = ok (from ~ /^poemd\// ? allowed["service-tests"] : allowed["client-tests"])
    if (index(ok, " " to " ") == 0) {
      printf "%s:%s: includes \"%s\": %s may use only %s\n", file, line, include, from, shown[from]
      failures++
    }
  }
  END {
    if (failures) { printf "check-layers: %d include(s) against the order of the layers\n", failures; exit 1 }
    print "check-layers: every include keeps to the order of the layers"
  }'
