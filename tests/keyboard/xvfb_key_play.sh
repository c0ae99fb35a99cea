#!/bin/sh
# The real program on a virtual X display of its own, played with xdotool as a user plays it. Holding "z"
# shows the key for Z with its gradient, through the X server's automatic repeats, and letting go shows it
# white again. When JACK's tools are there, the device picked in the combo box with the keyboard receives
# exactly one Note On for the whole hold.
# Usage: xvfb_key_play.sh <piano binary>. Exits 77 (skipped) when a peer program is not installed.

piano=$1
for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pids=
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; for log in "$work"/*.log; do echo "--- $log"; tail -n 40 "$log"; done; exit 1; }

# Polls a command for up to 30 s.
wait_for() {
    tries=0
    until "$@"; do
        tries=$((tries + 1))
        [ $tries -ge 300 ] && return 1
        sleep 0.1
    done
}

# Xvfb picks a free display number itself and writes it to fd 3 once it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids="$pids $!"
wait_for test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

jack=
if command -v jackd >/dev/null 2>&1 && command -v jack_midi_dump >/dev/null 2>&1; then
    jack=yes
    # A server of our own; its long period leaves a busy machine's clients time to finish each cycle.
    export JACK_DEFAULT_SERVER="piano-e2e-$$" JACK_NO_AUDIO_RESERVATION=1
    jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 2048 >"$work/jackd.log" 2>&1 &
    pids="$pids $!"
    wait_for jack_lsp >/dev/null 2>&1 || fail "jackd did not start"
    jack_midi_dump e2e-dump >"$work/dump.log" 2>&1 &
    pids="$pids $!"
    wait_for sh -c 'jack_lsp | grep -q "^e2e-dump:input"' || fail "jack_midi_dump did not start"
fi

# No sound card here: SDL's dummy driver stands in for one.
# The tests run under the offscreen platform; this one wants the real X window.
QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy TMPDIR="$work" "$piano" >"$work/piano.log" 2>&1 &
pids="$pids $!"
wait_for sh -c 'xdotool search --name "电脑钢琴" >/dev/null 2>&1' || fail "no window"
window=$(xdotool search --name "电脑钢琴" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool windowfocus --sync "$window"

# The colour of a pixel in the window's client coordinates, as "r,g,b".
pixel() {
    import -window root "$work/shot.png" >/dev/null 2>&1 &&
        convert "$work/shot.png" -crop "1x1+$((X + $1))+$((Y + $2))" -depth 8 txt:- |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }

if [ -n "$jack" ]; then
    # Open the combo box, go to its last entry (the dump client's port, the only JACK MIDI input) and take it.
    xdotool mousemove "$((X + 80))" "$((Y + 18))" click 1
    sleep 0.5
    xdotool key End Return
    wait_for sh -c 'jack_lsp -c e2e-dump:input | grep -q "piano:"' || fail "the JACK port was not opened"
    sleep 0.3
fi

# The key for Z spans client x 176-199, y 528-623; its first row inside the border is (192, 192, 192)
# while held, white when up.
pixel_is 178 529 "255,255,255" || fail "Z is not white before the press: $(pixel 178 529)"
xdotool keydown z
wait_for pixel_is 178 529 "192,192,192" || fail "Z does not show its gradient: $(pixel 178 529)"
sleep 1.5   # the X server repeats the key meanwhile
pixel_is 178 529 "192,192,192" || fail "Z lost its gradient while held: $(pixel 178 529)"
xdotool keyup z
wait_for pixel_is 178 529 "255,255,255" || fail "Z does not turn white again: $(pixel 178 529)"

if [ -n "$jack" ]; then
    sleep 0.3
    notes=$(grep -c "90 31 7f" "$work/dump.log")
    [ "$notes" = 1 ] || fail "expected one Note On 90 31 7f for the hold, got $notes"
fi
echo "ok"
