#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build and the tests need, when any is missing (run as root).
#   install-deps.sh          what the programs need
#   install-deps.sh windows  also the Windows cross build and wine to run its tests
#   install-deps.sh fuzz     also clang with libFuzzer and the sanitizers' runtime
#   install-deps.sh format   also clang-format (Debian 12's, version 14), for tools/check.sh
set -euo pipefail
packages=(build-essential cmake libgtest-dev libgmock-dev libcli11-dev libxml2-utils libxml2-dev qt6-base-dev
  qt6-translations-l10n fonts-dejavu-core file libzip-dev unzip man-db groff-base appstream desktop-file-utils
  shared-mime-info libglib2.0-bin strace lintian)
case "${1:-}" in
  windows) packages+=(g++-mingw-w64-x86-64-posix wine64) ;;
  fuzz) packages+=(clang-16 libclang-rt-16-dev) ;;
  format) packages+=(clang-format-14) ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
