#!/bin/sh
# Installs the program into a scratch prefix and checks what a desktop needs to offer it in its
# menu: the executable, a valid entry under Office/Finance naming it, and the icon it names.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
entry=$prefix/share/applications/quillmark.desktop
test -x "$prefix/bin/quillmark"
desktop-file-validate "$entry"
grep -qx 'Categories=Office;Finance;' "$entry"
grep -qx "Exec=$prefix/bin/quillmark" "$entry"
icon=$(sed -n 's/^Icon=//p' "$entry")
test "$(file -b "$prefix/share/icons/hicolor/64x64/apps/$icon.png" | cut -d, -f1,2)" = \
    'PNG image data, 64 x 64'
echo "installed and valid under $prefix"
