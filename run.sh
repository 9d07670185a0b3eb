#!/usr/bin/env bash
# Installs what is missing, builds, and starts Korvane; arguments are passed on.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
exec build/korvane "$@"
