#!/bin/sh
# Measures the host's start-up, memory and idle load:
#   start-up  process start to the first presented frame, headless (fonts and pool included)
#   memory    resident set right after start-up, headless
#   idle      CPU time of the running system without input for 10 s, on an X server (Xvfb)
#             with the real clock
# usage: bench/host_run.sh [BUILD_DIR]   (default: build; the program is BUILD_DIR/noma)
set -e
BUILD=${1:-build}
NOMA=$(realpath "$BUILD/noma")
ROOT=$(dirname "$0")/..
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"; [ -n "$XPID" ] && kill $XPID 2>/dev/null; true' EXIT
cp "$ROOT"/tests/system/data/boot/* "$WORK"
echo "0 close" > "$WORK/close.input"

echo "start-up (10 headless runs, boot and close):"
for i in 1 2 3 4 5 6 7 8 9 10; do
    rm -f "$WORK/TEST.LOG" "$WORK/NOMArev.dat"
    start=$(date +%s.%N)
    NOMA_STARTUP_REPORT=1 "$NOMA" --data "$WORK" --headless --input close.input \
        2>"$WORK/report" >/dev/null
    awk -v start="$start" '/first frame at/ {
        printf "  %.1f ms to the first frame, RSS %d kB\n", ($5 - start) * 1000, $14 }' \
        "$WORK/report"
done | tee "$WORK/startup"
sort -n -k1 "$WORK/startup" | awk '{ t[NR] = $1; if ($8 > r) r = $8 } END {
    printf "  median %.1f ms, largest RSS %d kB\n", t[int((NR + 1) / 2)], r }'

if ! command -v Xvfb >/dev/null; then echo "idle: Xvfb missing, not measured"; exit 0; fi
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
XPID=$!
while [ ! -s "$WORK/display" ]; do sleep 0.1; done
sleep 0.5
rm -f "$WORK/TEST.LOG" "$WORK/NOMArev.dat"
DISPLAY=:$(head -1 "$WORK/display") SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
    "$NOMA" --data "$WORK" >/dev/null 2>&1 &
PID=$!
sleep 3
TICKS=$(getconf CLK_TCK)
before=$(awk '{ print $14 + $15 }' /proc/$PID/stat)
sleep 10
after=$(awk '{ print $14 + $15 }' /proc/$PID/stat)
for t in /proc/$PID/task/*; do
    printf "  thread %s: %s ticks in all\n" "$(cat $t/comm)" "$(awk '{ print $14 + $15 }' $t/stat)"
done
echo "idle (10 s on Xvfb, real clock):" \
     "$(awk -v d=$((after - before)) -v t="$TICKS" 'BEGIN { printf "%.1f", d * 100 / (10 * t) }')% of one core" \
     "($((after - before)) ticks of $TICKS/s), RSS $(awk '/VmRSS/ { print $2 }' /proc/$PID/status) kB"
kill $PID
wait $PID 2>/dev/null || true
