#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# cpack -G DEB makes a package holding the programs, the manual pages and the desktop metadata,
# whose dependencies name what the programs need at run time. Skipped without dpkg-deb.
#   deb_test.sh BUILD_DIR
set -u
. "$(dirname "$0")/../support/checks.sh"
build=$1
command -v dpkg-deb > /dev/null || { echo "dpkg-deb is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
files=(./usr/bin/tolvex-cli ./usr/bin/tolvex-zip ./usr/share/man/man1/tolvex-cli.1.gz ./usr/share/man/man1/tolvex-zip.1.gz)
gui=no
grep -qx './usr/bin/tolvex' "$work/contents" && gui=yes
[ "$gui" = yes ] && files+=(./usr/share/man/man1/tolvex.1.gz ./usr/share/applications/io.github.tolvex.Tolvex.desktop
  ./usr/share/metainfo/io.github.tolvex.Tolvex.metainfo.xml ./usr/share/mime/packages/tolvex.xml)
for f in "${files[@]}"; do check "holds $f" yes "$(grep -qx -- "$f" "$work/contents" && echo yes)"; done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
needs=(libzip4)
[ "$gui" = yes ] && needs+=(libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n)
for p in "${needs[@]}"; do check "depends on $p" yes "$(grep -qw -- "$p" <<< "$depends" && echo yes)"; done
[ "$fail" = 0 ] && echo "all package checks passed"
exit "$fail"
