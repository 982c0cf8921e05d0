#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build and the tests need, when any is missing (run as root).
#   install-deps.sh          what the programs need
#   install-deps.sh windows  also the Windows cross build, wine and a virtual screen to run its tests,
#                            and the installer's tools
#   install-deps.sh fuzz     also clang with libFuzzer and the sanitizers' runtime
#   install-deps.sh format   also clang-format (Debian 12's, version 14), for tools/check.sh
set -euo pipefail
packages=(build-essential cmake libgtest-dev libgmock-dev libcli11-dev libxml2-utils libxml2-dev qt6-base-dev
  qt6-translations-l10n fonts-dejavu-core file libzip-dev unzip man-db groff-base appstream desktop-file-utils
  shared-mime-info libglib2.0-bin strace lintian gettext locales)
case "${1:-}" in
  windows) packages+=(g++-mingw-w64-x86-64-posix wine64 xvfb xauth xdotool wixl msitools) ;;
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
# The console's Russian texts are tested under a Russian locale.
if ! locale -a 2> /dev/null | grep -qix 'ru_RU.utf-\?8'; then
  echo "Generating the locale ru_RU.UTF-8"
  sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen > /dev/null
fi
