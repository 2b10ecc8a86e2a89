#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs what is missing, configures once
# and builds. Safe to run again; every step skips what is done.
#   VANTREL_BUILD_DIR       build directory (default: build/)
#   VANTREL_CMAKE_ARGS      extra arguments for the first configure
#   VANTREL_EXTRA_PACKAGES  Debian packages needed on top of the usual ones
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VANTREL_BUILD_DIR:-$root/build}"

packages=(
  build-essential cmake pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5test5 libqt5svg5-dev
  libgtest-dev libbenchmark-dev libeigen3-dev libasound2-dev
  fonts-dejavu-core
  help2man dpkg-dev file
  poppler-utils
  python3-numpy pybind11-dev python3-pybind11 python3-pytest
  ${VANTREL_EXTRA_PACKAGES:-}
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo_cmd=(sudo)
    else
      echo "error: packages are missing (${missing[*]}); run this as root to install them." >&2
      exit 1
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  # Word splitting of the extra arguments is intended.
  # shellcheck disable=SC2086
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release ${VANTREL_CMAKE_ARGS:-}
fi
cmake --build "$build" --parallel "$(nproc)"
