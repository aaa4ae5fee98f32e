#!/usr/bin/env bash
# The real program on a virtual X display: started from a terminal with a display it opens its
# window; "Exit" from the File menu closes it, the three settings files are written and the
# process ends with status 0. Skipped (exit 77) without Xvfb or xdotool.
# desktop_xvfb_test.sh PROGRAM
set -uo pipefail
program=$1
for tool in Xvfb xdotool script; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
server=
cleanup() {
    [[ -n "$server" ]] && kill "$server" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
server=$!
for _ in $(seq 50); do [[ -s "$scratch/display" ]] && break; sleep 0.1; done
[[ -s "$scratch/display" ]] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$scratch/display")"

mkdir "$scratch/work"
cat >"$scratch/run.sh" <<RUN
cd "$scratch/work" && "$program"
echo \$? >"$scratch/status"
RUN
# script gives the program a terminal as standard input.
script -qfc "bash $scratch/run.sh" /dev/null >"$scratch/output" 2>&1 &
runner=$!

window=$(timeout 60 xdotool search --sync --name "^Corvid 1.5" | head -1)
[[ -n "$window" ]] || { echo "no window appeared"; cat "$scratch/output"; exit 1; }
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key x
for _ in $(seq 100); do [[ -s "$scratch/status" ]] && break; sleep 0.1; done
wait "$runner" 2>/dev/null

status=$(cat "$scratch/status" 2>/dev/null)
[[ "$status" == 0 ]] || { echo "exit status '$status'"; cat "$scratch/output"; exit 1; }
for file in Corvid.dft engineWB.dft engineGUI.dft; do
    [[ -s "$scratch/work/$file" ]] || { echo "$file was not written"; exit 1; }
done
[[ $(wc -l <"$scratch/work/Corvid.dft") -eq 11 ]] || { echo "Corvid.dft is not 11 lines"; exit 1; }
grep -qx "BookEnabled=1" "$scratch/work/engineGUI.dft" || { echo "engineGUI.dft lacks its keys"; exit 1; }
echo "window opened and closed with its settings written"
