#!/usr/bin/env bash
# The real program on a virtual X display: started from a terminal with a display it opens its
# window; with the engine busy playing itself, "Exit" from the File menu closes it: the search
# is stopped and joined, the three settings files are written and the process ends with status
# 0. Without a reachable display it only says so. Prints the time the window took to appear and the memory then in use. Skipped (exit 77)
# without Xvfb or xdotool.
# desktop_xvfb_test.sh PROGRAM
set -uo pipefail
program=$1

# Without a display the window mode says so and ends (status 0, as a window that cannot be
# created does); Qt is never asked (its platform plugin would abort the process).
for display in "" ":4321"; do
    message=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" \
        "$program" </dev/null 2>&1)
    status=$?
    [[ $status -eq 0 && "$message" == Corvid:*display* ]] ||
        { echo "DISPLAY='$display': status $status, '$message'"; exit 1; }
done

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
started=$(date +%s%N)
script -qfc "bash $scratch/run.sh" /dev/null >"$scratch/output" 2>&1 &
runner=$!

window=$(timeout 60 xdotool search --sync --name "^Corvid 1.5" | head -1)
[[ -n "$window" ]] || { echo "no window appeared"; cat "$scratch/output"; exit 1; }
echo "window after $((($(date +%s%N) - started) / 1000000)) ms"
pid=$(xdotool getwindowpid "$window" 2>/dev/null)
[[ -n "$pid" ]] && grep VmRSS "/proc/$pid/status"
cpuTicks() { awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null; }
idleTicks=$(cpuTicks)
xdotool windowfocus --sync "$window"
# Game > Start Engine Selfplay: the engine plays both sides until the exit stops it.
xdotool key --clearmodifiers alt+g
sleep 0.5
xdotool key e
sleep 2
# The engine is at work: CPU time spent since the window appeared (clock ticks).
busyTicks=$(($(cpuTicks) - idleTicks))
echo "engine busy: $busyTicks ticks of CPU time in 2 s before the exit"
((busyTicks >= 20)) || { echo "self-play did not start"; exit 1; }
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
