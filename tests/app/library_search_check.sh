#!/bin/sh
# The program takes its libraries from the system only: one of the same name in the directory
# it is started from, or beside it once installed, is never loaded in their place.
set -eu
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
mkdir -p "$scratch/start" "$prefix/lib"
for dir in "$scratch/start" "$prefix/bin" "$prefix/lib"; do
    printf 'planted\n' >"$dir/libQt6Core.so.6"
done
for program in "$build/quillmark" "$prefix/bin/quillmark"; do
    found=$(cd "$scratch/start" && ldd "$program" 2>&1 | grep 'libQt6Core\.so\.6' || true)
    case $found in
    *"=> /usr/lib/"* | *"=> /lib/"*) ;;
    *)
        echo "$program: $found"
        exit 1
        ;;
    esac
done
echo "libraries come from the system"
