#!/usr/bin/env bash
# Builds the Debian package kelo-configuration_<version>_<arch>.deb into the top folder:
# debhelper (debian/rules) packs the programs of build/, building there only what is
# missing. Then lintian (which must report no error and no warning), desktop-file-validate
# and appstreamcli check it. The .changes, .buildinfo and debug symbols are in build/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh debhelper dpkg-dev lintian man-db desktop-file-utils appstream
# build/ as the tests have it, configured if new; only the programs are built here.
scripts/build.sh kelo-configuration kelo-batch brumo-sim

out=build/package
rm -rf "$out" kelo-configuration_*.deb
mkdir -p "$out"
name=kelo-configuration_$(dpkg-parsechangelog -S Version)_$(dpkg-architecture -q DEB_HOST_ARCH)
dpkg-buildpackage -b -us -uc -tc --buildinfo-option=-u"$out" --changes-option=-u"$out" \
  --buildinfo-file="$out/$name.buildinfo" --changes-file="$out/$name.changes"
cp "$out/$name.deb" .

lintian --fail-on error,warning --display-info "$out/$name.changes"
dpkg-deb -x "$name.deb" "$out/root"
desktop-file-validate "$out"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$out"/root/usr/share/metainfo/*.metainfo.xml
echo "Package: $name.deb ($(du -k "$name.deb" | cut -f1) kB)"
