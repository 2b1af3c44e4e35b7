#!/usr/bin/env bash
# Installs the Debian packages the project needs, when any of them is missing.
set -euo pipefail
pkgs=(qt6-base-dev qt6-charts-dev qt6-serialport-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
      libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev cmake ninja-build g++
      xvfb xauth fonts-dejavu-core poppler-utils clang libclang-rt-14-dev
      slurm-wlm munge)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get -o DPkg::Lock::Timeout=300 update
  $SUDO apt-get -o DPkg::Lock::Timeout=300 install -y "${missing[@]}"
fi
