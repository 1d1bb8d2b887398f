#!/usr/bin/env bash
# Formats every C and C++ source of the tree with the project's .clang-format; with --check it
# changes nothing and fails, listing them, when a file is not formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t pliki < <(git ls-files '*.cpp' '*.h' '*.c')
if [ "${1:-}" = "--check" ]; then
  zle=$(clang-format --dry-run "${pliki[@]}" 2>&1 | grep -E '^[^:]+:[0-9]+:[0-9]+: (warning|error)' |
        cut -d: -f1 | sort -u || true)
  if [ -n "$zle" ]; then
    echo "Pliki do sformatowania (scripts/format.sh):"
    echo "$zle"
    exit 1
  fi
else
  clang-format -i "${pliki[@]}"
fi
