#!/usr/bin/env bash
# The style checks of CI: every C++ file formatted, every name of the program's own code in
# the project's style (.clang-tidy), every include pointing down the layers.
# usage: tools/lint.sh [BUILD_DIR]   (a configured build with compile_commands.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json: configure first" >&2; exit 2; }

git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "format: every file as clang-format writes it"

tools/check-layers.sh

# Generated sources (moc, uic) exist only after a build; the Win32 backend needs its headers.
git ls-files 'text/*.cpp' 'services/*.cpp' 'files/*.cpp' 'document/*.cpp' 'capture/*.cpp' \
    'batch/*.cpp' 'platform/*.cpp' 'app/*.cpp' 'cli/*.cpp' | grep -v -e '_win32\.cpp$' -e '^platform/win32\.cpp$' |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2>/dev/null
echo "names: every name in the project's style"
