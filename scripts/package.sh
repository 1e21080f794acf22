#!/usr/bin/env bash
# Builds the Debian package build/ruvola-barcode_<version>_<arch>.deb with CPack, then
# checks it: desktop-file-validate on the desktop entry, appstreamcli on the metadata
# (without the network) and lintian on the package, whose errors fail the script; then
# installs it, runs it as an ordinary user and removes it again
# (tests/package/check-installed.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/install-packages.sh dpkg-dev fakeroot lintian desktop-file-utils appstream librsvg2-bin passwd
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUVOLA_PACKAGE=ON >/dev/null
cmake --build build -j2
rm -f build/ruvola-barcode_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/ruvola-barcode_*.deb)
echo "package: $deb"
desktop-file-validate packaging/org.ruvola.BarCodeGenerator.desktop
appstreamcli validate --no-net packaging/org.ruvola.BarCodeGenerator.metainfo.xml
lintian --fail-on error "$deb"
tests/package/check-installed.sh
