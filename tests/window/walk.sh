#!/usr/bin/env bash
# A player's first minute in the real game under Xvfb: the menu shows, the 100 m dash tile opens
# its card, PRACTICE starts the dash, P writes a screenshot of each, Escape goes back to the menu,
# Escape there quits with exit code 0 and writes records.rec. The pictures are checked by their
# pixels. The mouse moves relatively: with input grabbed the game sees only relative motion.
set -euo pipefail
GAME="$1"
PROBE="$2"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
export ALSOFT_DRIVERS=null SDL12COMPAT_OPENGL_SCALING=0

"$GAME" 2>"$WORK/game.log" &
PID=$!
for _ in $(seq 100); do
    xdotool search --name '^Kelvaro$' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 1.5
shot() { xdotool key p; sleep 0.6; }
to() { xdotool mousemove_relative -- -2000 -2000; sleep 0.2; xdotool mousemove_relative -- "$1" "$2"; sleep 0.4; }
click() { xdotool mousedown 1; sleep 0.15; xdotool mouseup 1; sleep 0.8; }

shot                      # 0000 the menu
to 200 450; click; shot   # 0001 the dash's event card
to 290 617; click; shot   # 0002 the dash, on your mark
xdotool key Escape; sleep 0.8; shot   # 0003 the menu again
xdotool key Escape
STATUS=0
for _ in $(seq 50); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$PID" 2>/dev/null; then echo "the game did not quit on Escape"; kill "$PID"; exit 1; fi
wait "$PID" || STATUS=$?

fail() { echo "$1"; cat "$WORK/game.log"; exit 1; }
[ "$STATUS" -eq 0 ] || fail "exit code $STATUS"
for n in 0000 0001 0002 0003; do [ -f "screenshots/$n.png" ] || fail "no screenshots/$n.png"; done
[ "$(stat -c %s records.rec 2>/dev/null || echo 0)" = 1952 ] || fail "records.rec was not written"

# is R G B: pixel (x, y) of a screenshot is within 40 of the colour given.
is() {
    read -r r g b < <("$PROBE" "screenshots/$1.png" "$2" "$3")
    local d=$(( (r > $4 ? r - $4 : $4 - r) + (g > $5 ? g - $5 : $5 - g) + (b > $6 ? b - $6 : $6 - b) ))
    [ "$d" -le 40 ] || fail "screenshot $1 at $2,$3 is $r $g $b, not $4 $5 $6 ($7)"
}
is 0000 820 640 110 200 70 "the menu's green PLAY button"
is 0001 512 400 215 245 250 "the event card's pale panel"
is 0002 512 700 245 160 30 "the dash's orange track"
is 0003 820 640 110 200 70 "the menu again"
grep -q "^Flurry:" "$WORK/game.log" && fail "an abandoned attempt wrote an analytics line"
echo "walk through the game passed"
