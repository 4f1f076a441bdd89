#!/usr/bin/env bash
# Includes run one way: records < platform < frame < the windows < shell. Fails,
# naming the line, when a file under src/ includes one from a folder above its
# own, or lies in a folder that has no layer yet.
set -euo pipefail
src="${1:?usage: check_layers.sh SRC_FOLDER}"
layer() {
  case "$1" in
    records) echo 0 ;;
    platform) echo 1 ;;
    frame) echo 2 ;;
    doggies | health | journal | datepicker | reports) echo 3 ;;
    shell) echo 4 ;;
    *) echo -1 ;;
  esac
}
status=0
while IFS= read -r file; do
  folder=$(basename "$(dirname "$file")")
  own=$(layer "$folder")
  if [ "$own" -lt 0 ]; then
    echo "${file#"$src"/}: the folder \"$folder\" has no layer; give it one here"
    status=1
    continue
  fi
  while IFS=: read -r line included; do
    target=$(layer "${included%%/*}")
    if [ "$target" -gt "$own" ]; then
      echo "${file#"$src"/}:$line includes \"$included\", a layer above its own"
      status=1
    fi
  done < <(grep -n '^#include "[a-z]*/' "$file" | sed 's/^\([0-9]*\):#include "\([^"]*\)".*/\1:\2/')
done < <(find "$src" -name '*.h' -o -name '*.cpp' | sort)
exit $status
