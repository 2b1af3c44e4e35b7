#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs the program's
# main job: a single simulation of the default data set on the measured hourly
# weather of Potsdam 2019 with its measured diffuse irradiation, computed
# analytically, on the default database (created on first start in the user's
# data directory).
# Extra arguments go to varnek-cli before the command, e.g. --db DIR --results DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)"
build/release/varnek-cli "$@" simulate "EFH Potsdam 2019 stuendlich"
