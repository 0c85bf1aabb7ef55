#!/bin/bash
# The committed picture of the architecture matches the includes: the .dot
# text made from the code now is the one in docs/. Needs no graphviz.
# Usage: architecture.sh [GAME_DIR BUILD_DIR] (unused: it reads the sources)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if ! diff -u "$root/docs/architecture.dot" <("$root/tools/architecture.sh" --dot); then
  echo "docs/architecture.dot is out of date: run tools/architecture.sh" >&2
  exit 1
fi
echo "docs/architecture.dot matches the includes"
