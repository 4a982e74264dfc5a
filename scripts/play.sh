#!/usr/bin/env bash
# Installs what is needed, builds, and starts the game from build/game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
cd build/game
exec ./tarvoquelms
