#!/usr/bin/env bash
# Checks that includes run only downward through the source folders: a file in src/<folder>/
# includes files of its own folder or of a folder below it. protocol/ and gui/ stand side by side
# and include neither each other. Names every offending include; exit 1 when there is one.
# check_layers.sh [ROOT]: the tree to check (default: this repository).
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Folder -> rank; a folder may include folders of lower rank (and its own).
declare -A rank=([platform]=0 [chess]=1 [eval]=2 [search]=3 [book]=4 [control]=5
                 [protocol]=6 [gui]=6 [startup]=7)
status=0
while IFS= read -r file; do
    folder=${file#src/}
    folder=${folder%%/*}
    if [[ -z "${rank[$folder]+set}" ]]; then
        echo "$file: folder '$folder' has no place in the layer order" >&2
        status=1
        continue
    fi
    while IFS= read -r match; do
        line=${match%%:*}
        target=$(sed -E 's/^[0-9]+:\s*#\s*include\s*"([^"]+)".*/\1/' <<<"$match")
        [[ "$target" == */* ]] || continue # same-folder include
        to=${target%%/*}
        [[ "$to" == "$folder" ]] && continue
        if [[ -z "${rank[$to]+set}" ]]; then
            echo "$file:$line: includes \"$target\" from unknown folder '$to'" >&2
            status=1
        elif ((rank[$to] >= rank[$folder])); then
            echo "$file:$line: includes \"$target\": $folder/ may not include $to/" >&2
            status=1
        fi
    done < <(grep -nE '^\s*#\s*include\s*"' "$file" || true)
done < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# The desktop's two layers: gui/logic/ uses no window system (no Qt header, nothing of gui/qt/);
# gui/qt/ reaches the engine only through gui/logic/ (it is built once for both engines).
while IFS= read -r file; do
    if [[ "$file" == src/gui/logic/* ]] && grep -nE '^\s*#\s*include\s*(<Q|"gui/qt/)' "$file"; then
        echo "$file: the desktop logic includes the window system" >&2
        status=1
    fi
    if [[ "$file" == src/gui/qt/* ]] &&
        grep -nE '^\s*#\s*include\s*"' "$file" | grep -vE '"gui/(logic|qt)/'; then
        echo "$file: the Qt layer includes more than gui/" >&2
        status=1
    fi
done < <(find src/gui -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)
exit $status
