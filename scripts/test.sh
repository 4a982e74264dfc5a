#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, and runs
# every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test build -DTQ_BUILD_TESTS=ON -DTQ_BUILD_BENCH=ON -DTQ_WERROR=ON
ctest --test-dir build --output-on-failure -j"$(nproc)"
