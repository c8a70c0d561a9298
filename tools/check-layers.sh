#!/usr/bin/env bash
# Fails when a file includes a header of a layer above its own (or of a sibling it may not
# use), or when the core (everything below platform/ and app/, and quillet-batch) includes
# a header of Qt. The libraries link only downwards too, but an inline-only header would slip past
# the linker; this catches it at the include.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

declare -A allowed=(
  [text]="text"
  [services]="text services"
  [files]="text services files"
  [document]="text services files document"
  [capture]="text services files document capture"
  [batch]="text services files document batch"
  [platform]="text services files document capture platform"
  [app]="text services files document capture batch platform app"
  [cli]="text services files document batch cli"
)

status=0
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$hit")
    case " ${allowed[$layer]} " in
      *" $target "*) ;;
      *) echo "$file includes $target/, which $layer/ may not use"; status=1 ;;
    esac
  done < <(grep -rHE '^#include "[^/"]+/' "$layer" --include='*.h' --include='*.cpp' || true)
done

# The core is standard C++ (and SQLite): no Qt header in its folders or in their tests, so
# that it and quillet-batch build where no Qt is.
core=(text services files document capture batch cli)
for layer in "${core[@]}"; do
  for dir in "$layer" "tests/$layer"; do
    [ -d "$dir" ] || continue
    while IFS= read -r hit; do
      echo "${hit%%:*} includes Qt (${hit#*#include }), which the core may not use"
      status=1
    done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|q[a-z0-9_]+\.h)' \
               "$dir" --include='*.h' --include='*.cpp' || true)
  done
done
[ $status -eq 0 ] && echo "layers: every include points downwards, and the core includes no Qt"
exit $status
