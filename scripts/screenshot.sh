#!/usr/bin/env bash
# Plays a word in the real game under a virtual X server and saves the picture
# shown in the README.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test build
python3 tests/e2e/e2e_test.py build/game --screenshot docs/screenshot.png
