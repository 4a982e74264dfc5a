#!/usr/bin/env bash
# Installs what the game needs, builds it, and starts it from build/game with
# any options given (scripts/play.sh --window).
set -euo pipefail
cd "$(dirname "$0")/.."
# No GoogleTest or Google Benchmark needed to play. TQ_WERROR stays as the
# folder has it, so switching between playing and testing rebuilds nothing.
scripts/setup.sh play build -DTQ_BUILD_TESTS=OFF -DTQ_BUILD_BENCH=OFF
exec build/game/tarvoquelms "$@"
