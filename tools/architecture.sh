#!/bin/bash
# Draws the game's layers and the platform's services from the includes of
# src/ and forge/, so that the picture cannot drift from the code:
#
#   tools/architecture.sh        writes docs/architecture.dot and renders it
#                                as docs/architecture.svg (needs graphviz)
#   tools/architecture.sh --dot  prints the .dot text only; a test compares
#                                it with the committed docs/architecture.dot
#
# An arrow goes from a module to each module it includes a header of; the
# platform is drawn as its service headers, each with the modules that
# include it. The forge, a tool beside the game, is drawn dashed.
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."

modules="shell ui game progress maps assets settings platform"

# Prints "from to" for every include of a module header in the files given.
scan() {
  local from=$1 inc to
  shift
  grep -ho '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]*/[A-Za-z0-9_]*\.h"' "$@" |
    sed 's/.*"\(.*\)"/\1/' |
    while read -r inc; do
      to=${inc%%/*}
      case " $modules " in *" $to "*) ;; *) continue ;; esac
      if [ "$to" = platform ] && [ "$from" != platform ]; then
        echo "$from platform/${inc#platform/}"
      elif [ "$to" != "$from" ]; then
        echo "$from $to"
      fi
    done
}

edges() {
  local m
  for m in $modules; do
    scan "$m" $(find "src/$m" -name '*.h' -o -name '*.cpp' | sort)
  done
  scan forge $(find forge -name '*.h' -o -name '*.cpp' | sort)
}

dot_text() {
  local all services from to
  all=$(edges | sort -u)
  services=$(echo "$all" | awk '$2 ~ /^platform\// { print $2 }' | sort -u)
  cat <<'HEAD'
// architecture.dot — made by tools/architecture.sh from the includes of
// src/ and forge/; do not edit by hand.
digraph warrenfold {
  rankdir=TB;
  nodesep=0.25;
  ranksep=0.6;
  concentrate=true;
  node [shape=box, style="rounded,filled", fillcolor="#e8f0e0",
        fontname="Helvetica", fontsize=12];
  edge [color="#5a6a5a", arrowsize=0.6];
  "forge" [style="rounded,dashed", fillcolor="white"];
HEAD
  echo '  subgraph cluster_platform {'
  echo '    label="platform: one header per service";'
  echo '    fontname="Helvetica"; fontsize=12; style="rounded"; color="#8a9a8a";'
  echo '    node [fillcolor="#f4f4e8", fontsize=10];'
  for s in $services; do
    echo "    \"$s\" [label=\"$(basename "$s" .h)\"];"
  done
  echo '  }'
  echo "$all" | while read -r from to; do
    echo "  \"$from\" -> \"$to\";"
  done
  echo '}'
}

if [ "${1:-}" = --dot ]; then
  dot_text
  exit 0
fi
command -v dot > /dev/null || { echo "needs graphviz's dot" >&2; exit 1; }
dot_text > docs/architecture.dot
dot -Tsvg docs/architecture.dot -o docs/architecture.svg
echo "wrote docs/architecture.dot and docs/architecture.svg"
