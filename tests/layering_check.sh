#!/usr/bin/env bash
# The layer check passes on this tree, and on a tree with an upward include it fails and names
# the file, the line and the include.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
check="$repo/scripts/check_layers.sh"
"$check" "$repo" || { echo "the source tree breaks the layer order" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/src/chess" "$scratch/src/control" "$scratch/src/gui" "$scratch/src/protocol"
printf '#include "chess/board.h"\n#include <vector>\n' >"$scratch/src/chess/board.cpp"
printf '#include "chess/board.h"\n#include "protocol/uci.h"\n' >"$scratch/src/gui/window.cpp"
printf '// game\n#include "control/game.h"\n' >"$scratch/src/chess/position.cpp"
output=$("$check" "$scratch" 2>&1) && { echo "upward includes passed the check" >&2; exit 1; }
for expected in 'src/chess/position.cpp:2: includes "control/game.h"' \
    'src/gui/window.cpp:2: includes "protocol/uci.h"'; do
    grep -qF "$expected" <<<"$output" || { echo "missing: $expected in: $output" >&2; exit 1; }
done
[[ $(grep -c . <<<"$output") -eq 2 ]] || { echo "unexpected complaints: $output" >&2; exit 1; }

# The desktop's split: no window system in its logic, nothing but gui/ in its Qt layer.
mkdir -p "$scratch/src/gui/logic" "$scratch/src/gui/qt"
rm "$scratch/src/chess/position.cpp" "$scratch/src/gui/window.cpp"
printf '#include "chess/board.h"\n#include <QWidget>\n' >"$scratch/src/gui/logic/clocks.cpp"
printf '#include <QWidget>\n#include "gui/logic/clocks.h"\n#include "chess/board.h"\n' \
    >"$scratch/src/gui/qt/board_view.cpp"
output=$("$check" "$scratch" 2>&1) && { echo "the desktop split passed unchecked" >&2; exit 1; }
for expected in 'src/gui/logic/clocks.cpp: the desktop logic includes the window system' \
    'src/gui/qt/board_view.cpp: the Qt layer includes more than gui/'; do
    grep -qF "$expected" <<<"$output" || { echo "missing: $expected in: $output" >&2; exit 1; }
done
echo "layer order checked"
