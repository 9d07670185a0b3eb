#!/usr/bin/env bash
# Rewrites the golden files from the current build. Run it only after a deliberate
# change of the colouring document or of the file layout, and review the diff.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/korvane-tool
golden=tests/data/golden
"$tool" colour "$golden/program.txt" > "$golden/program.rtf"
"$tool" pack --raw --name 'golden(a,b)' --folder tests "$golden/program.txt" "$golden/program.89p"
echo "golden files rewritten; review them with git diff"
