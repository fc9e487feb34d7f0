#!/usr/bin/env bash
# Checks the Debian packages as a distribution would: builds them (reusing
# build/), validates the desktop entry and the AppStream metainfo, runs
# lintian, unpacks them into a scratch root, searches the installed demo
# collection with the installed pandecta-tool, and builds a small C program
# against the installed liblexdex-dev through pkg-config and through CMake.
set -euo pipefail
cd "$(dirname "$0")/.."

# Lintian warnings accepted, and why:
#   initial-upload-closes-no-bugs  the packages are not uploaded to Debian, so
#                                  no ITP bug is closed
#   maintscript-calls-ldconfig     CPack's own postinst/postrm of liblexdex2
#                                  call ldconfig; the package's ldconfig trigger
#                                  does the same, so the call is harmless
ACCEPTED_LINTIAN_WARNINGS=initial-upload-closes-no-bugs,maintscript-calls-ldconfig

bash scripts/package.sh

desktop-file-validate packaging/*.desktop
appstreamcli validate --no-net packaging/*.metainfo.xml
lintian --fail-on error --suppress-tags "$ACCEPTED_LINTIAN_WARNINGS" dist/*.deb

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for package in dist/*.deb; do dpkg -x "$package" "$root"; done
libdir=$(find "$root/usr/lib" -name 'liblexdex.so.2' -printf '%h\n' | head -n1)
export LD_LIBRARY_PATH=$libdir

hits=$("$root/usr/bin/pandecta-tool" search "$root/usr/share/pandecta/demo/Extra" imposto)
[ -n "$hits" ] || { echo "pandecta-tool search found nothing in the installed demo collection" >&2; exit 1; }
echo "pandecta-tool search on the installed demo: $(wc -l <<<"$hits") documents"

export PKG_CONFIG_SYSROOT_DIR=$root PKG_CONFIG_LIBDIR=$libdir/pkgconfig
# shellcheck disable=SC2046
cc -Wall -o "$root/lexdex_client" packaging/check/lexdex_client.c $(pkg-config --cflags --libs lexdex)
"$root/lexdex_client" "$root/index-pkgconfig"

cmake -S packaging/check -B "$root/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
ninja -C "$root/cmake-build" >/dev/null
"$root/cmake-build/lexdex_client" "$root/index-cmake"
echo "Os pacotes estão corretos."
