#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (core tests, window tests on
# the offscreen platform, and the second-opinion file tests).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure
