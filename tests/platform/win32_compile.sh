#!/usr/bin/env bash
# Compiles the program's sources for Windows with mingw-w64 against the Win32 headers, so
# that they keep building although they cannot run here. The Qt headers are the host's:
# the code uses only the parts of Qt that look the same on every platform.
# usage: win32_compile.sh SOURCE_DIR OUTPUT_DIR "INCLUDE_DIRS (;-separated)" SOURCE...
set -euo pipefail
# The POSIX-threads flavour: the core's recovery copy writes on a std::thread, which the
# win32-threads flavour of Debian's mingw-w64 lacks.
compiler=${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
command -v "$compiler" >/dev/null \
  || { echo "$compiler is missing (Debian package g++-mingw-w64-x86-64)" >&2; exit 1; }

source_dir=$1 out=$2 include_dirs=$3
shift 3
includes=(-I"$source_dir")
IFS=';' read -ra dirs <<<"$include_dirs"
for d in "${dirs[@]}"; do
  # The host's own C library headers would shadow mingw's.
  [ -z "$d" ] || [ "$d" = /usr/include ] || includes+=(-isystem "$d")
done
mkdir -p "$out"
# SQLite's one header is plain C that looks the same on Windows; it is lent on its own, as
# the rest of /usr/include must stay hidden.
if [ -f /usr/include/sqlite3.h ]; then
  mkdir -p "$out/lent"
  ln -sf /usr/include/sqlite3.h "$out/lent/sqlite3.h"
  includes+=(-isystem "$out/lent")
fi

compile_one() {
  local src=$1
  local obj
  obj="$out/$(tr '/' '_' <<<"${src%.cpp}").obj"
  # -Wno-attributes: the host's Qt headers mark their exports for Linux, not for DLLs.
  "$compiler" -std=c++20 -c -Wall -Wextra -Wpedantic -Werror -Wno-attributes -DQT_NO_KEYWORDS \
    -DQUILLET_DATA_DIR='"share/quillet"' -DQUILLET_DATA_DIR_FROM_BIN='"../share/quillet"' \
    "${includes[@]}" "$source_dir/$src" -o "$obj" || { echo "FAIL $src"; return 1; }
  # The object must be a Windows one, or the check proved nothing.
  head -c 2 "$obj" | od -An -tx1 | grep -q '64 86' || { echo "FAIL $obj is no x86-64 COFF object"; return 1; }
  echo "compiled $src"
}
status=0
for src in "$@"; do
  compile_one "$src" &
  # Two at a time: the machine is shared with the rest of the suite.
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || status=1; done
done
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n || status=1; done
echo "$# sources compiled for Windows"
exit $status
