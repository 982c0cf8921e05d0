#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# cpack -G DEB makes a package holding the programs, the manual pages, the desktop metadata, the
# copyright file and the changelog (its latest entry the package's version), whose dependencies
# name what the programs need at run time and which Debian's checker, lintian, passes without an
# error or a warning. Without a maintainer it makes no package. Skipped without dpkg-deb or
# lintian.
#   deb_test.sh BUILD_DIR
set -u
. "$(dirname "$0")/../support/checks.sh"
build=$1
command -v dpkg-deb > /dev/null || { echo "dpkg-deb is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Nobody to name as maintainer: no package (the cache variable cleared for this run).
env -u DEBEMAIL -u DEBFULLNAME cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/none" \
  -D CPACK_DEBIAN_PACKAGE_MAINTAINER= > "$work/none.log" 2>&1
check "no maintainer: no package" "fails, none" "$([ $? != 0 ] && echo fails), $(ls "$work"/none/*.deb 2> /dev/null || echo none)"
check "and says so" 1 "$(grep -c 'needs its maintainer' "$work/none.log")"

# The maintainer as the Debian tools take it, unless the build names one.
DEBFULLNAME="Package Test" DEBEMAIL=package-test@example.org \
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
files=(./usr/bin/tolvex-cli ./usr/bin/tolvex-zip ./usr/share/man/man1/tolvex-cli.1.gz ./usr/share/man/man1/tolvex-zip.1.gz
  ./usr/share/doc/tolvex/copyright ./usr/share/doc/tolvex/changelog.gz
  ./usr/share/man/ru/man1/tolvex-cli.1.gz ./usr/share/man/ru/man1/tolvex-zip.1.gz ./usr/share/doc/tolvex/guide/index.html
  ./usr/share/doc/tolvex/screenshots/main.png ./usr/share/locale/ru/LC_MESSAGES/tolvex-cli.mo)
gui=no
grep -qx './usr/bin/tolvex' "$work/contents" && gui=yes
[ "$gui" = yes ] && files+=(./usr/share/man/man1/tolvex.1.gz ./usr/share/man/ru/man1/tolvex.1.gz ./usr/share/applications/io.github.tolvex.Tolvex.desktop
  ./usr/share/metainfo/io.github.tolvex.Tolvex.metainfo.xml ./usr/share/mime/packages/tolvex.xml)
for f in "${files[@]}"; do check "holds $f" yes "$(grep -qx -- "$f" "$work/contents" && echo yes)"; done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
needs=(libzip4)
[ "$gui" = yes ] && needs+=(libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n)
for p in "${needs[@]}"; do check "depends on $p" yes "$(grep -qw -- "$p" <<< "$depends" && echo yes)"; done

dpkg-deb -x "$deb" "$work/root"
changelog=$work/root/usr/share/doc/tolvex/changelog.gz
if command -v dpkg-parsechangelog > /dev/null; then
  check "the changelog's latest entry is this version" "$(dpkg-deb -f "$deb" Version)" \
    "$(zcat "$changelog" | dpkg-parsechangelog -l - -S Version)"
  check "signed by the package's maintainer" "$(dpkg-deb -f "$deb" Maintainer)" \
    "$(zcat "$changelog" | dpkg-parsechangelog -l - -S Maintainer)"
fi

if command -v lintian > /dev/null; then
  lintian --fail-on error,warning "$deb" 2>&1 | grep -v '^running with root privileges'
  check "lintian: no error, no warning" 0 "${PIPESTATUS[0]}"
else
  echo "lintian is not installed (bash tools/install-deps.sh): skipped"
  [ "$fail" = 0 ] && exit 77
fi
[ "$fail" = 0 ] && echo "all package checks passed"
exit "$fail"
