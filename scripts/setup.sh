#!/usr/bin/env bash
# Installs the build tools and libraries labarc needs (Debian packages), when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev libgtest-dev libgmock-dev
          libbenchmark-dev pkgconf libcli11-dev nlohmann-json3-dev libutfcpp-dev libpng-dev
          librsvg2-bin pybind11-dev python3-dev python3-numpy python3-pytest locales)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
