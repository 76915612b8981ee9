#!/usr/bin/env bash
# Holds the project to the layers of cmake/layers.txt, which lists each
# folder's direct uses; a folder may use what those use in turn.
#
# Usage: scripts/check-layers.sh [--links FILE] [ROOT]
#          fails when an #include "..." of the project's C++ files points
#          against the layers, or when the layers make a cycle; with
#          --links (the links between the project's targets, written by
#          cmake/layers.cmake into the build tree as layer_links.txt), also
#          when an arrow of the file is needed by no include and no link:
#          when the folder's other arrows allow all it uses without it.
#        scripts/check-layers.sh --diagram [ROOT]
#          prints each folder and its direct uses, as arrows.
set -euo pipefail
mode=check
links=""
while [[ $# -gt 0 ]]; do
  case "$1" in
    --diagram) mode=diagram; shift ;;
    --links) links="$(realpath "$2")"; shift 2 ;;
    *) break ;;
  esac
done
root="$(cd "${1:-$(dirname "$0")/..}" && pwd)"
cd "$root"

includes() { git ls-files '*.h' '*.cpp' | xargs grep -Hn '^#include "' || true; }
if [[ "$mode" == diagram ]]; then includes() { :; }; fi

includes | awk -v mode="$mode" -v links="$links" '
  # The folders of cmake/layers.txt in their order, and each one'"'"'s direct
  # uses (" a b ").
  BEGIN {
    while ((getline line < "cmake/layers.txt") > 0) {
      if (line ~ /^#/ || line !~ /:/) continue
      name = line; sub(/:.*/, "", name); gsub(/ /, "", name)
      list = line; sub(/^[^:]*:/, "", list); gsub(/^ +| +$/, "", list); gsub(/ +/, " ", list)
      names[++count] = name
      uses[name] = list == "" ? " " : " " list " "
      if (name !~ /-tests$/) listed[name] = 1
    }
    close("cmake/layers.txt")
    if (mode == "diagram") { diagram(); exit }
    for (i = 1; i <= count; i++) {
      n = split(uses[names[i]], used, " ")
      for (j = 1; j <= n; j++) {
        if (!(used[j] in listed)) {
          printf "cmake/layers.txt: %s uses %s, which is no folder of the file\n", names[i], used[j]
          failures++
        }
      }
    }
    for (i = 1; i <= count; i++) reach[names[i]] = reachable(names[i], "")
    for (i = 1; i <= count; i++) {
      if (index(reach[names[i]], " " names[i] " ")) {
        printf "cmake/layers.txt: a cycle: %s\n", cycle(names[i])
        failures++
      }
    }
    if (links != "") {
      while ((getline line < links) > 0) {
        split(line, part, " ")  # target, its folder, the folder of what it links
        use(part[2], part[3], part[1] ~ /_tests$/)
      }
      close(links)
    }
  }
  function diagram(    i, shown) {
    for (i = 1; i <= count; i++) {
      shown = uses[names[i]]
      gsub(/^ +| +$/, "", shown)
      gsub(/ /, ", ", shown)
      if (shown == "") print names[i] "/"
      else printf "%-20s-> %s\n", names[i] (names[i] in listed ? "/" : ""), shown
    }
  }
  # Whose tests a folder'"'"'s tests are.
  function tests_of(folder) { return folder ~ /^poemd\// ? "service-tests" : "client-tests" }
  # What `name` may use through its arrows, as " a b ", leaving out its own
  # arrow to `skip`.
  function reachable(name, skip,    out, queue, next_one, n, j, seen, used) {
    out = " "
    queue = ""
    n = split(uses[name], used, " ")
    for (j = 1; j <= n; j++) if (used[j] != skip) queue = queue " " used[j]
    while (split(queue, used, " ") > 0) {
      next_one = used[1]
      sub(/^ *[^ ]+/, "", queue)
      if (next_one in seen) continue
      seen[next_one] = 1
      out = out next_one " "
      n = split(uses[next_one], used, " ")
      for (j = 1; j <= n; j++) queue = queue " " used[j]
    }
    return out
  }
  # A path of arrows from `name` back to itself.
  function cycle(name,    queue, from, n, j, used, parent, path, at) {
    queue = " " name " "
    while (split(queue, used, " ") > 0) {
      from = used[1]
      sub(/^ *[^ ]+/, "", queue)
      n = split(uses[from], used, " ")
      for (j = 1; j <= n; j++) {
        if (used[j] == name) {
          path = name
          for (at = from; at != name; at = parent[at]) path = at " -> " path
          return name " -> " path
        }
        if (!(used[j] in parent)) { parent[used[j]] = from; queue = queue " " used[j] }
      }
    }
    return name
  }
  # Whether a file of `from` (a test'"'"'s when `test`) may use `to`.
  function allowed(from, to, test) {
    return to == from || index(reach[from], " " to " ") ||
           (test && index(reach[tests_of(from)], " " to " "))
  }
  # Records that a file or target of `from` uses `to`.
  function use(from, to, test) {
    if (from == to || from == "" || to == "") return
    edges[from SUBSEP to SUBSEP test] = 1
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
    test = file ~ /_test\.cpp$|_testing\.(cpp|h)$/
    use(from, to, test)
    if (!allowed(from, to, test)) {
      shown = uses[from]; gsub(/^ +| +$/, "", shown)
      printf "%s:%s: includes \"%s\": %s may use only %s\n", file, line, include, from,
             shown == "" ? "nothing else" : shown " and what they use"
      failures++
    }
  }
  # Whether the arrow from `name` to `arrow` is needed: whether without it
  # something `name` (or, for tests, a folder whose tests they are) uses is
  # no longer allowed.
  function needed(name, arrow,    without, key, part, from, to, test) {
    without = reachable(name, arrow)
    for (key in edges) {
      split(key, part, SUBSEP)
      from = part[1]; to = part[2]; test = part[3] + 0
      if (name ~ /-tests$/) {
        if (!test || tests_of(from) != name || index(reach[from], " " to " ")) continue
      } else {
        if (from != name || (test && index(reach[tests_of(from)], " " to " "))) continue
      }
      if (!index(without, " " to " ")) return 1
    }
    return 0
  }
  END {
    if (mode == "diagram") exit
    if (links != "") {
      for (i = 1; i <= count; i++) {
        n = split(uses[names[i]], used, " ")
        for (j = 1; j <= n; j++) {
          if (needed(names[i], used[j])) continue
          printf "cmake/layers.txt: %s -> %s is needed by no include and no link%s\n", names[i], used[j],
                 index(reachable(names[i], used[j]), " " used[j] " ") ? " (its other arrows reach it)" : ""
          failures++
        }
      }
    }
    if (failures) { printf "check-layers: %d fault(s) against the layers\n", failures; exit 1 }
    print "check-layers: every include keeps to the layers" (links != "" ? ", and every arrow is needed" : "")
  }'
