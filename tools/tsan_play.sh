#!/bin/bash
# The threaded paths under ThreadSanitizer as a player meets them. First the host's sound
# tests on their own (test_host of the same build), then a scripted play of the demo on a real
# X server (Xvfb) with sound: the program thread, the message loop, SDL's audio thread with the
# mixer and the timers run as they do for a player. xdotool drives the real window: the start
# screen's buttons, keys for the game and the host (F12, Ctrl+M, F11), the system menu, the
# system information dialog opened and closed, a save, and the window hidden, shown and
# resized. The run fails on any ThreadSanitizer report, a missing step or a non-zero exit
# status.
#
#   tools/tsan_play.sh BUILD_DIR   (noma and tests/test_host built there with -DNOMA_TSAN=ON)
#
# No sound card is needed: SDL's "disk" audio driver writes the mixed output into a file, so
# the audio callback thread and the mixer run at the real rate. The sound tests play waves and
# MIDI through fluidsynth with the GM soundfont while the test thread changes volumes and mute.
# The demo's game does not play its scenario's music yet: until it does, the play's audio
# thread runs only once a sound starts (see GAME SOUND below).
set -u

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source_dir/build-tsan}" && pwd)
noma=$build/noma
step_timeout=${NOMA_PLAY_STEP_TIMEOUT:-90}

for tool in Xvfb xdotool; do
    command -v $tool >/dev/null || { echo "tsan_play: $tool is not installed"; exit 1; }
done
[ -x "$noma" ] || { echo "tsan_play: no program $noma"; exit 1; }
[ -x "$build/tests/test_host" ] || { echo "tsan_play: no program $build/tests/test_host"; exit 1; }
tsan_options="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$source_dir/tools/tsan_play.supp"

work=$(mktemp -d /tmp/noma-tsan-play-XXXXXX)
game=$work/game
xvfb_pid=
noma_pid=
cleanup() {
    [ -n "$noma_pid" ] && kill -KILL "$noma_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    if [ "${keep:-0}" = 1 ]; then echo "tsan_play: the run's files are in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

fail() {
    echo "tsan_play: FAILED: $*"
    echo "---- noma's standard error"
    cat "$work/noma.err" 2>/dev/null
    echo "---- the last lines of the game's log"
    tail -n 30 "$game/VavIDIZ.dat" 2>/dev/null | iconv -f CP932 -t UTF-8 2>/dev/null
    keep=1
    exit 1
}

# The sound threads: the host's sound tests (they choose the disk driver themselves).
sound_start=$(date +%s)
if ! (cd "$work" && env TSAN_OPTIONS="$tsan_options" SDL_VIDEODRIVER=dummy \
    FONTCONFIG_FILE="$source_dir/tests/fonts/fonts.conf" \
    "$build/tests/test_host" --gtest_filter='SoundTest.*:MidiFiles.*' >"$work/sound.out" 2>&1); then
    cat "$work/sound.out"
    echo "tsan_play: FAILED: the sound tests under ThreadSanitizer"
    keep=1
    exit 1
fi
grep -q "ThreadSanitizer" "$work/sound.out" && { cat "$work/sound.out"; echo "tsan_play: FAILED: reports in the sound tests"; keep=1; exit 1; }
echo "tsan_play: the sound tests passed in $(($(date +%s) - sound_start))s, no reports"

cp -r "$source_dir/data/demo" "$game"
printf 'line one\r\nline two\r\n' >"$game/play.txt"
# DEBAG ON flushes every log line, so that the steps below can wait for theirs.
sed -i 's/^DEBAG .*/DEBAG ON/' "$game/NOMA.ini"

# The server on a free display: it writes the number it took to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
xvfb_pid=$!
for _ in $(seq 500); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.02; done
number=$(head -n 1 "$work/display")
[ -n "$number" ] || fail "Xvfb did not start: $(cat "$work/xvfb.err")"
export DISPLAY=:$number
for _ in $(seq 500); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.02; done

# SDL's software renderer: the server has no graphics card, and the GL stack in its place
# synchronises its threads in ways the thread checker cannot see. The suppressions name only
# places inside the system's libraries (each with its reason in the file).
start=$(date +%s)
(
    cd "$game" &&
        exec env SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0 \
            SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" \
            TSAN_OPTIONS="$tsan_options" \
            "$noma" >"$work/noma.out" 2>"$work/noma.err"
) &
noma_pid=$!

# Waits until the game's log holds a line with `text` (ASCII) for at most `seconds`; false
# when it does not come. Fails the run when noma has ended.
log_within() {
    local deadline=$(($(date +%s) + $2))
    while ! grep -aqF -- "$1" "$game/VavIDIZ.dat" 2>/dev/null; do
        kill -0 "$noma_pid" 2>/dev/null || fail "noma ended while waiting for \"$1\""
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}
wait_log() { log_within "$1" "$step_timeout" || fail "no \"$1\" in the log within ${step_timeout}s"; }
# Runs the actions of a step until its log line comes: a click can come too early on a loaded
# machine (a dialog ignores clicks in its first second), so each step is tried three times.
step() {
    local line=$1
    shift
    for try in 1 2 3; do
        [ "$try" = 1 ] || echo "tsan_play: trying again: $*"
        "$@"
        log_within "$line" $((step_timeout / 3)) && return 0
    done
    fail "no \"$line\" in the log after three tries of: $*"
}

window=$(timeout "$step_timeout" xdotool search --sync --name '^TUVO$' | head -n 1)
[ -n "$window" ] || fail "the window TUVO did not appear"
xdotool windowfocus --sync "$window" 2>/dev/null
geometry=$(xdotool getwindowgeometry "$window")
width=$(echo "$geometry" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1/p')
height=$(echo "$geometry" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\2/p')
[ -n "$width" ] && [ -n "$height" ] || fail "no geometry for window $window"

# Screen coordinates (800 x 600) to the window's.
at() { echo "$(($1 * width / 800)) $(($2 * height / 600))"; }
move() { xdotool mousemove --window "$window" $(at "$1" "$2"); }
click() {
    move "$1" "$2"
    sleep 0.1
    xdotool mousedown "${3:-1}"
    sleep 0.1
    xdotool mouseup "${3:-1}"
}
# The right button pressed on the empty screen opens the system menu; the release on an entry
# chooses it (the entries stand 24 dots apart below the press).
system_menu() {
    move 400 300
    xdotool mousedown 3
    sleep 1
    move 450 "$1"
    sleep 0.5
    xdotool mouseup 3
}
type_text() { xdotool type --delay 120 -- "$1"; }
key() { xdotool key --delay 120 "$@"; }

logo_away() { click 400 300; }
start_button() { click 215 482; }
# The system information dialog takes no answer in its first second; its OK button closes it,
# and the editor opened from the system menu then draws its window.
dialog_ok_then_editor() {
    click 503 374
    sleep 2
    key F12
    system_menu 336
}
disk_read() {
    click 95 55 # Disk
    sleep 2
    click 160 102 # the file name line
    sleep 0.5
    type_text play.txt
    key Return
}
environment_save() {
    click 195 55 # Environment
    sleep 2
    click 160 102 # the command line
    sleep 0.5
    type_text save
    key Return
}

wait_log "System start"
sleep 1
step "Screen CrateButton() 1001" logo_away
sleep 1
step "DuskIlvane" start_button
sleep 2
key Return Down Up Return
key F12    # a screenshot by the host
key ctrl+m # mute and sound again
sleep 1
key ctrl+m
sleep 2

system_menu 360 # the information dialog
sleep 3
key F12
step "reqdraw OBJ record type" dialog_ok_then_editor
sleep 2
key F12

# A save through the editor: a file read, two characters typed at its end and the file
# written back with the command "save".
step "File Open play.txt" disk_read
sleep 1
click 300 300 # the text, cursor at its end
sleep 0.5
type_text XY
sleep 0.5
step "File write   play.txt" environment_save

# The window as the desktop treats it, while the program thread draws: hidden and shown again
# (a later paint: the program thread redraws every window), resized (the picture is scaled
# anew on the main thread), fullscreen and back.
xdotool windowunmap --sync "$window"
xdotool windowmap --sync "$window"
sleep 1
xdotool windowsize --sync "$window" $((width * 3 / 2)) $((height * 3 / 2)) 2>/dev/null
sleep 1
xdotool windowsize --sync "$window" "$width" "$height" 2>/dev/null
sleep 1
key F11
sleep 1
key F11
sleep 1
key F12

# GAME SAVE: the game's own save (a slot written from the game's save screen) goes here once
# the game offers one; until then the editor's write above is the run's save.

# The end as a user's close: the first SIGTERM closes the window, the system shuts down in
# order.
sleep 1
kill -TERM "$noma_pid"
deadline=$(($(date +%s) + step_timeout))
while kill -0 "$noma_pid" 2>/dev/null; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "noma did not end after the close"
    sleep 0.2
done
wait "$noma_pid"
status=$?
noma_pid=
seconds=$(($(date +%s) - start))

grep -q "ThreadSanitizer" "$work/noma.err" && fail "ThreadSanitizer reported (status $status)"
[ "$status" = 0 ] || fail "noma ended with status $status"
grep -aqF "ShutDownEvent" "$game/VavIDIZ.dat" || fail "the system did not shut down in order"
[ "$(tail -c 2 "$game/play.txt")" = XY ] || fail "play.txt was not saved with the typed text"
ls "$game"/screenshots/*.png >/dev/null 2>&1 || fail "F12 wrote no screenshot"
# GAME SOUND: once the game plays its scenario's music and effects, the play's audio output
# must not be empty:
#   [ "$(stat -c %s "$work/audio.raw" 2>/dev/null || echo 0)" -gt 0 ] || fail "no sound played"
echo "tsan_play: the play passed in ${seconds}s, no ThreadSanitizer reports"
