#!/usr/bin/env bash
# Instructions per calculation (Valgrind's callgrind), this tree's engine
# against the engine of an older revision (default 4cccf9b), the same driver
# (bench/calculation_count.cpp) and compiler for both: a figure, not a verdict.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
old="${1:-4cccf9b}"
work="$(mktemp -d)"
trap 'git -C "$root" worktree remove --force "$work/old" >/dev/null 2>&1; rm -rf "$work"' EXIT
git -C "$root" worktree add --detach "$work/old" "$old" >/dev/null 2>&1
for tree in "$work/old" "$root"; do
  name="$([ "$tree" = "$root" ] && echo this || echo "$old")"
  g++ -std=c++17 -O2 -DNDEBUG -I"$tree" -I"$root" "$root/bench/calculation_count.cpp" "$tree"/engine/*.cpp \
    -o "$work/count-$name"
done
printf '%-34s %12s %12s\n' "per calculation" "$old" this
for project in s o p; do
  line="$(case $project in s) echo "largest project, both classes" ;; o) echo "largest project, one class" ;;
    p) echo "small project" ;; esac)"
  counts=()
  for name in "$old" this; do
    valgrind --tool=callgrind --toggle-collect='RunOnce*' --callgrind-out-file="$work/$name.out" \
      "$work/count-$name" "$project" >/dev/null 2>&1
    counts+=($(($(sed -n 's/^summary: //p' "$work/$name.out") / 10)))
  done
  printf '%-34s %12s %12s\n' "$line" "${counts[@]}"
done
