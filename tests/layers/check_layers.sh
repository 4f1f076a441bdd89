#!/usr/bin/env bash
# Includes run one way: records < platform < frame < the windows < shell. Fails,
# naming the line, when a file under src/ includes one from a folder above its
# own, or lies in a folder that has no layer yet.
set -euo pipefail
src="${1:?usage: check_layers.sh SRC_FOLDER}"
declare -A layer=([records]=0 [platform]=1 [frame]=2 [doggies]=3 [health]=3 [journal]=3 [datepicker]=3 [reports]=3 [shell]=4)
status=0
while IFS= read -r file; do
  folder=$(basename "$(dirname "$file")")
  if [ -z "${layer[$folder]:-}" ]; then
    echo "${file#"$src"/}: the folder \"$folder\" has no layer; give it one here"
    status=1
    continue
  fi
  while IFS=: read -r line included; do
    if [ "${layer[${included%%/*}]:--1}" -gt "${layer[$folder]}" ]; then
      echo "${file#"$src"/}:$line includes \"$included\", a layer above its own"
      status=1
    fi
  done < <(grep -n '^#include "[a-z]*/' "$file" | sed 's/^\([0-9]*\):#include "\([^"]*\)".*/\1:\2/')
done < <(find "$src" -name '*.h' -o -name '*.cpp' | sort)
exit $status
