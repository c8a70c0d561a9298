#!/usr/bin/env bash
# Compiles the Win32 backend with mingw-w64 against the Win32 headers, so that it keeps
# building although it cannot run here. The Qt headers are the host's: the backend uses only
# the parts of Qt that look the same on every platform.
# usage: win32_compile.sh SOURCE_DIR OUTPUT_DIR "QT_INCLUDE_DIRS (;-separated)" SOURCE...
set -euo pipefail
compiler=${MINGW_CXX:-x86_64-w64-mingw32-g++}
command -v "$compiler" >/dev/null \
  || { echo "$compiler is missing (Debian package g++-mingw-w64-x86-64)" >&2; exit 1; }

source_dir=$1 out=$2 qt_dirs=$3
shift 3
includes=(-I"$source_dir")
IFS=';' read -ra dirs <<<"$qt_dirs"
for d in "${dirs[@]}"; do
  # The host's own C library headers would shadow mingw's.
  [ -z "$d" ] || [ "$d" = /usr/include ] || includes+=(-isystem "$d")
done
mkdir -p "$out"
for src in "$@"; do
  obj="$out/$(basename "${src%.cpp}").obj"
  # -Wno-attributes: the host's Qt headers mark their exports for Linux, not for DLLs.
  "$compiler" -std=c++20 -c -Wall -Wextra -Wpedantic -Werror -Wno-attributes -DQT_NO_KEYWORDS \
    "${includes[@]}" "$source_dir/$src" -o "$obj"
  # The object must be a Windows one, or the check proved nothing.
  head -c 2 "$obj" | od -An -tx1 | grep -q '64 86' || { echo "$obj is no x86-64 COFF object" >&2; exit 1; }
  echo "compiled $src"
done
