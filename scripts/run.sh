#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs the program's
# main job: a single simulation of the default site "Braunschweig EFH" (a
# single-family house with solar collectors, an intermediate reservoir and a
# brine heat pump) with the velocity method month by month, on the default
# database (created on first start in the user's data directory).
# Extra arguments go to varnek-cli before the command, e.g. --db DIR --results DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)"
build/release/varnek-cli "$@" simulate "Braunschweig EFH"
