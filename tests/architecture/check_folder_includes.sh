#!/usr/bin/env bash
# The core's folders include only the folders below them, so none includes in a circle:
#   resources, link  <-  state  <-  replies  <-  panel
# Prints every include that breaks this and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/../.."

allowed() {  # the folders a folder may include from
  case "$1" in
    resources) echo "resources" ;;
    link) echo "link" ;;
    state) echo "state resources link" ;;
    replies) echo "replies state resources link" ;;
    panel) echo "panel replies state resources link" ;;
  esac
}

status=0
for folder in resources link state replies panel; do
  while IFS= read -r line; do
    file=${line%%:*}
    included=$(sed -E 's/.*#include "([a-z_-]+)\/.*/\1/' <<<"$line")
    if ! grep -qw -- "$included" <<<"$(allowed "$folder")"; then
      echo "$file includes from $included/: $folder/ may include only from $(allowed "$folder")"
      status=1
    fi
  done < <(grep -HE '^#include "[a-z_-]+/' "$folder"/*.h "$folder"/*.cpp 2>/dev/null || true)
done
exit "$status"
