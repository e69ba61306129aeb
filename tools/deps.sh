#!/usr/bin/env bash
# Makes sure the Debian packages the build needs are installed. As root it installs the missing
# ones; otherwise it names them and fails.
#
#   tools/deps.sh           packages for building the libraries, the demo, the tests and the manual
#   tools/deps.sh --bench   also the packages of the benchmarks and the NumPy comparison
#   tools/deps.sh --fuzz    also clang and its runtime (libFuzzer, sanitizers) for the fuzz targets
#
# LUMEX_DEPS, when set, replaces the package list (space separated).
set -euo pipefail

# The sanitizer runtimes of the sanitizer builds (libasan8, libubsan1, libtsan2) come with g++:
# gcc-12 depends on libgcc-12-dev, which depends on all of them.
packages=(cmake g++ make pkg-config libeigen3-dev libboost-dev libgtest-dev doxygen)
case "${1:-}" in
  "") ;;
  --bench) packages+=(libbenchmark-dev python3-numpy python3-scipy python3-statsmodels r-base-core) ;;
  --fuzz) packages+=(clang libclang-rt-14-dev) ;;
  *) echo "usage: tools/deps.sh [--bench | --fuzz]" >&2; exit 2 ;;
esac
if [[ -n "${LUMEX_DEPS:-}" ]]; then
  read -r -a packages <<< "${LUMEX_DEPS}"
fi

if ! command -v dpkg-query > /dev/null; then
  echo "tools/deps.sh: no dpkg-query, so the packages are not checked: ${packages[*]}" >&2
  exit 0
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "${package}" 2> /dev/null || true)
  if [[ "${status}" != installed ]]; then
    missing+=("${package}")
  fi
done
if (( ${#missing[@]} == 0 )); then
  exit 0
fi

if (( $(id -u) != 0 )); then
  echo "Missing packages. Run as root: apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "Installing missing packages: ${missing[*]}"
apt-get update
DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
