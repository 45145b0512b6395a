#!/usr/bin/env bash
# Makes the .deb of a built tree, checks what it holds and what it depends on, unpacks it
# into a temporary root and runs the command-line companion from there.
#   package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
command -v dpkg-deb >/dev/null || { echo "dpkg-deb is missing"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; exit 1; }
deb=$(ls "$tmp"/out/orbistav_*.deb)
fail=0
check() { # what, then a command that succeeds when it holds
  local what=$1; shift
  if ! "$@"; then echo "FAILED: $what"; fail=1; fi
}

contents=$(dpkg-deb -c "$deb")
for path in usr/bin/orbistav usr/bin/orbistav-cli usr/lib/orbistav/orbistav \
  usr/lib/orbistav/orbistav-cli usr/lib/orbistav/libvx_tools.so usr/lib/orbistav/vx_modul.dat \
  usr/share/applications/orbistav.desktop usr/share/mime/packages/orbistav.xml \
  usr/share/icons/hicolor/48x48/apps/orbistav.png usr/share/icons/hicolor/256x256/apps/orbistav.png \
  usr/share/metainfo/org.quillmoor.orbistav.metainfo.xml usr/share/man/man1/orbistav.1 \
  usr/share/man/man1/orbistav-cli.1 usr/share/bash-completion/completions/orbistav-cli; do
  check "the package holds /$path" grep -q " \./$path\( ->\|$\)" <<<"$contents"
done

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libsdl2 liblz4 libpng16 libvorbisfile3 libssl3; do
  check "it depends on $library ($depends)" grep -q "$library" <<<"$depends"
done

dpkg-deb -x "$deb" "$tmp/root"
check "orbistav-cli --version runs from the unpacked root" \
  bash -c "'$tmp/root/usr/bin/orbistav-cli' --version | grep -q '[0-9]'"
check "orbistav-cli list reads the sample archive" \
  bash -c "'$tmp/root/usr/bin/orbistav-cli' list '$source/examples/sample.vp' | grep -q 'nebula.pcx'"

if command -v appstreamcli >/dev/null; then
  check "the metainfo file validates" appstreamcli validate --no-net \
    "$tmp/root/usr/share/metainfo/org.quillmoor.orbistav.metainfo.xml"
  check "the desktop entry validates" bash -c "! command -v desktop-file-validate >/dev/null ||
    desktop-file-validate '$tmp/root/usr/share/applications/orbistav.desktop'"
fi
exit $fail
