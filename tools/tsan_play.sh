#!/bin/bash
# The threaded paths under ThreadSanitizer as a player meets them. First the host's sound
# tests on their own (test_host of the same build), then a scripted play of the demo on a real
# X server (Xvfb) with sound: the program thread, the message loop, SDL's audio thread with the
# mixer and the timers run as they do for a player. xdotool drives the real window: the start
# screen's buttons, the story's pages by click and Return, Ctrl held up to a choice taken with
# Return, the side menu's SAVE into slot 1 and its LOAD back, a choice by mouse, keys for the
# host (F12, Ctrl+M, F11), and the window hidden, shown and resized. The run fails on any
# ThreadSanitizer report, a missing step or slot file, a silent sound output or a non-zero exit
# status. (The system menu opens only over empty screen, which the game's full-screen window
# leaves none of while the story plays: the play reaches its dialogs through the game's save.)
#
#   tools/tsan_play.sh BUILD_DIR   (noma and tests/test_host built there with -DNOMA_TSAN=ON)
#
# No sound card is needed: SDL's "disk" audio driver writes the mixed output into a file, so
# the audio callback thread and the mixer run at the real rate. The sound tests play waves and
# MIDI through fluidsynth with the GM soundfont while the test thread changes volumes and mute;
# in the play the story's first page starts its music (MIDI) and a wave effect, and the output
# file must grow with sound that is not silence while they play.
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

# The number of log lines holding `text`.
log_count() { grep -acF -- "$1" "$game/VavIDIZ.dat" 2>/dev/null; }
# Runs the actions until the log holds one more line with `text` than before them: at most
# `tries` times, waiting `seconds` after each. For steps that would go wrong when repeated after
# they took effect (a page turned twice), the count tells that the first try did.
step_more() {
    local line=$1 tries=$2 seconds=$3
    shift 3
    local before
    before=$(log_count "$line")
    for ((try = 1; try <= tries; try++)); do
        [ "$try" = 1 ] || echo "tsan_play: trying again: $*"
        "$@"
        local deadline=$(($(date +%s) + seconds))
        while [ "$(log_count "$line")" -le "$before" ]; do
            kill -0 "$noma_pid" 2>/dev/null || fail "noma ended while waiting for \"$line\""
            [ "$(date +%s)" -lt "$deadline" ] || continue 2
            sleep 0.2
        done
        return 0
    done
    fail "no new \"$line\" in the log after $tries tries of: $*"
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
key() { xdotool key --delay 120 "$@"; }

logo_away() { click 400 300; }
start_button() { click 215 482; }
# The disk driver's output: its size, and how many of its bytes from `offset` on are not 0
# (signed 16-bit samples: silence is all zero bytes).
audio_size() { stat -c %s "$work/audio.raw" 2>/dev/null || echo 0; }
audio_loud_bytes() { tail -c +"$(($1 + 1))" "$work/audio.raw" 2>/dev/null | tr -d '\0' | wc -c; }

# The story: a click on the page finishes the text being drawn or turns to the next page; so
# does Return. A turn logs "action_ilvane() in", a finished drawing nothing, so a page step
# often goes round twice.
page_click() {
    click 400 200
    sleep 0.5
}
page_return() {
    key Return
    sleep 0.5
}
# Ctrl held turns the pages by itself and stops at the next choice, whose selecter comes with
# the page's "NoText".
ctrl_to_choice() {
    local before
    before=$(log_count "code -NoText-")
    xdotool keydown ctrl
    local deadline=$(($(date +%s) + step_timeout))
    while [ "$(log_count "code -NoText-")" -le "$before" ]; do
        kill -0 "$noma_pid" 2>/dev/null || fail "noma ended while Ctrl turned the pages"
        [ "$(date +%s)" -lt "$deadline" ] || { xdotool keyup ctrl; fail "Ctrl did not reach a choice within ${step_timeout}s"; }
        sleep 0.2
    done
    xdotool keyup ctrl
    sleep 1
}
# The save window's slot 1 (top left) and the "Yes" of the question that follows; the question
# takes no answer in its first second.
slot_one_yes() {
    click 100 50
    sleep 1.5
    click 290 374
}

wait_log "System start"
sleep 1
step "Screen CrateButton() 1001" logo_away
sleep 1
step "DuskIlvane" start_button
# The first page starts the harbour's music (MIDI through fluidsynth) and its waves (a wave
# effect); the output from here on must grow and not be silence.
wait_log "code -PlayWAVE nami.wav"
audio_start=$(audio_size)
sleep 2
step_more "action_ilvane() in" 10 2 page_click
step_more "action_ilvane() in" 10 2 page_click
step_more "action_ilvane() in" 10 2 page_return
key F12    # a screenshot by the host
key ctrl+m # mute and sound again
sleep 1
key ctrl+m
sleep 1

# The first choice taken with Return (its first answer), Ctrl again up to the choice of ways.
ctrl_to_choice
step_more "SelectMenu 0" 3 10 page_return
ctrl_to_choice
key F12

# The game's save: the side menu's SAVE, slot 1 and "Yes"; both files of the slot appear in
# the game's folder. LOAD puts the same slot back while the choice still waits.
step_more "OPEN SAVEMENU" 3 10 click 770 505
sleep 1
step_more "save_gsys()" 3 10 slot_one_yes
sleep 1
for half in char gsys; do
    [ -n "$(find "$game" -maxdepth 2 -ipath "*/system/ilvane_${half}01.res" -size +0)" ] ||
        fail "the save wrote no slot file ilvane_${half}01.res"
done
step_more "OPEN SAVEMENU" 3 10 click 770 487
sleep 1
step_more "load_gsys()" 3 10 slot_one_yes
sleep 2
key F12
# The way to the lighthouse chosen with the mouse.
step_more "SelectMenu 3" 3 10 click 620 87
sleep 2
audio_now=$(audio_size)
[ "$audio_now" -gt $((audio_start + 176400)) ] ||
    fail "the sound output grew by $((audio_now - audio_start)) bytes during the story"
loud=$(audio_loud_bytes "$audio_start")
[ "$loud" -gt $(((audio_now - audio_start) / 10)) ] ||
    fail "the sound output during the story is silence ($loud of $((audio_now - audio_start)) bytes not 0)"
echo "tsan_play: the story played $((audio_now - audio_start)) bytes of sound, $loud of them not 0"

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
ls "$game"/screenshots/*.png >/dev/null 2>&1 || fail "F12 wrote no screenshot"
echo "tsan_play: the play passed in ${seconds}s, no ThreadSanitizer reports"
