#!/usr/bin/env bash
# Includes run one way: records < platform < frame < the windows < shell, and
# a window includes no other window but where a pair below allows it. Fails,
# naming the line, on an include from a layer above or a window beside, on a
# relative or angle-bracket include of the project's own headers, and on a
# folder that has no layer yet. The build's link checks hold calls to the same.
set -euo pipefail
src="${1:?usage: check_layers.sh SRC_FOLDER}"
declare -A layer=([records]=0 [platform]=1 [frame]=2 [doggies]=3 [health]=3 [journal]=3 [datepicker]=3 [reports]=3 [shell]=4)
allowed=" journal:datepicker "
status=0
while IFS= read -r file; do
  folder=$(basename "$(dirname "$file")")
  if [ -z "${layer[$folder]:-}" ]; then
    echo "${file#"$src"/}: the folder \"$folder\" has no layer; give it one here"
    status=1
    continue
  fi
  while IFS=: read -r line text; do
    included=$(sed -n 's/^#include *["<]\([^">]*\)[">].*/\1/p' <<< "$text")
    top=${included%%/*}
    if [[ $included == ../* || $included == ./* ]]; then
      echo "${file#"$src"/}:$line includes \"$included\" by a relative path; name its layer"
      status=1
    elif [[ $included == */* && -n ${layer[$top]:-} && $text == *"<"* ]]; then
      echo "${file#"$src"/}:$line includes <$included>, one of ours, in angle brackets"
      status=1
    elif [[ $included != */* || -z ${layer[$top]:-} || $top == "$folder" ]]; then
      continue
    elif [ "${layer[$top]}" -gt "${layer[$folder]}" ]; then
      echo "${file#"$src"/}:$line includes \"$included\", a layer above its own"
      status=1
    elif [ "${layer[$top]}" -eq "${layer[$folder]}" ] && [[ $allowed != *" $folder:$top "* ]]; then
      echo "${file#"$src"/}:$line includes \"$included\", a window beside its own"
      status=1
    fi
  done < <(grep -n '^#include' "$file" || true)
done < <(find "$src" -name '*.h' -o -name '*.cpp' | sort)
exit $status
