#!/usr/bin/env bash
# scripts/check-layers.sh on made-up trees of three folders (low <- mid <-
# top): what the closure of the arrows allows, an include against them, an
# arrow nothing needs or that other arrows make needless, a link that keeps
# an arrow, a cycle, a folder that is not one, the tests' own arrows, and the
# diagram.
# Usage: scripts/check-layers-test.sh
set -euo pipefail
check="$(cd "$(dirname "$0")" && pwd)/check-layers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# tree LAYERS FILE:INCLUDED... : a fresh tree in $work/tree whose
# cmake/layers.txt holds LAYERS and where each FILE includes INCLUDED.
tree() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree/cmake"
  printf '# a comment: not a folder\n%s\n' "$1" > "$work/tree/cmake/layers.txt"
  shift
  local pair file
  for pair in "$@"; do
    file=${pair%%:*}
    mkdir -p "$work/tree/$(dirname "$file")"
    printf '#include "%s"\n' "${pair#*:}" >> "$work/tree/$file"
  done
  git -C "$work/tree" init -q
  git -C "$work/tree" add -A
}
# run ARGS... : the check's exit status and output, on one line.
run() {
  local out code=0
  out=$("$check" "$@" "$work/tree" 2>&1) || code=$?
  echo "$code: $(tr '\n' '|' <<< "$out")"
}
expect() {  # NAME EXPECTED-SUBSTRING ACTUAL
  if [[ "$3" == *"$2"* ]]; then
    echo "ok   $1"
  else
    echo "FAIL $1: expected [$2] in [$3]"
    status=1
  fi
}
links() { printf '%s\n' "$@" > "$work/links.txt"; }
links ""

layers=$'low:\nmid: low\ntop: mid'
tree "$layers" top/t.cpp:low/l.h top/t.cpp:mid/m.h mid/m.cpp:low/l.h
expect "what an arrow's folder uses is allowed too" "0: check-layers: every include keeps" "$(run)"
expect "every arrow needed" "0: check-layers: every include keeps to the layers, and every arrow is needed" \
  "$(run --links "$work/links.txt")"

tree "$layers" low/l.cpp:top/t.h
expect "an include against the arrows" \
  '1: low/l.cpp:1: includes "top/t.h": low may use only nothing else|' "$(run)"
tree "$layers" mid/m.cpp:top/t.h
expect "the include names what the folder may use" \
  '1: mid/m.cpp:1: includes "top/t.h": mid may use only low and what they use|' "$(run)"

tree $'low:\nmid: low\ntop: mid low' top/t.cpp:low/l.h top/t.cpp:mid/m.h mid/m.cpp:low/l.h
expect "an arrow other arrows make needless" \
  "1: cmake/layers.txt: top -> low is needed by no include and no link (its other arrows reach it)|" \
  "$(run --links "$work/links.txt")"
expect "without the links, arrows are not judged" "0: " "$(run)"

tree $'low:\nmid: low\ntop: mid\nodd: low' top/t.cpp:mid/m.h mid/m.cpp:low/l.h
expect "an arrow nothing uses" "1: cmake/layers.txt: odd -> low is needed by no include and no link|" \
  "$(run --links "$work/links.txt")"
links "odd_library odd low"
expect "a link keeps an arrow" "0: " "$(run --links "$work/links.txt")"
tree $'low:\nmid: low\ntop: mid\nodd: low\nclient-tests: top' top/t.cpp:mid/m.h mid/m.cpp:low/l.h
links "odd_tests odd low"
expect "a test's link that the tests' arrow allows keeps no folder's arrow" \
  "1: cmake/layers.txt: odd -> low is needed by no include and no link|" \
  "$(run --links "$work/links.txt")"
links ""

tree $'low: top\nmid: low\ntop: mid' mid/m.cpp:low/l.h
expect "a cycle" "1: cmake/layers.txt: a cycle: low -> top -> mid -> low|" "$(run)"

tree $'low:\nmid: lwo' mid/m.cpp:low/l.h
expect "a folder that is no folder" "cmake/layers.txt: mid uses lwo, which is no folder of the file|" "$(run)"

tests=$'low:\nmid: low\ntop: mid\nclient-tests: top'
tree "$tests" low/l_test.cpp:top/t.h low/l_testing.h:mid/m.h mid/m.cpp:low/l.h top/t.cpp:mid/m.h
expect "tests use what their program's tests may" "0: " "$(run --links "$work/links.txt")"
tree "$tests" low/l.cpp:top/t.h mid/m.cpp:low/l.h top/t.cpp:mid/m.h
expect "only tests" '1: low/l.cpp:1: includes "top/t.h"' "$(run)"
tree "$tests" mid/m_test.cpp:low/l.h mid/m.cpp:low/l.h top/t.cpp:mid/m.h
expect "the tests' arrow nothing needs" "client-tests -> top is needed by no include and no link|" \
  "$(run --links "$work/links.txt")"
tree "$tests" mid/m.cpp:low/l.h top/t.cpp:mid/m.h
links "low_tests low top"
expect "a test target's link keeps the tests' arrow" "0: " "$(run --links "$work/links.txt")"
links ""

tree "$tests"
expect "the diagram" "0: low/|mid/                -> low|top/                -> mid|client-tests        -> top|" \
  "$(run --diagram)"

exit $status
