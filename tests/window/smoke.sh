#!/usr/bin/env bash
# The real game in a real window under Xvfb: it opens 1024x768, draws frames, writes an upright
# screenshot on P that shows a picture, and quits with exit code 0 on Alt+F4.
set -euo pipefail
GAME="$1"
PROBE="$2"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
export ALSOFT_DRIVERS=null SDL12COMPAT_OPENGL_SCALING=0

run() {
    "$GAME" 2>"$WORK/game.log" &
    PID=$!
    for _ in $(seq 100); do
        WID=$(xdotool search --name '^Kelvaro$' 2>/dev/null | head -n1 || true)
        [ -n "$WID" ] && break
        sleep 0.1
    done
    [ -n "$WID" ] || { echo "no Kelvaro window"; kill "$PID"; exit 1; }
    GEOMETRY=$(xdotool getwindowgeometry "$WID" | grep Geometry | awk '{print $2}')
    [ "$GEOMETRY" = "1024x768" ] || { echo "window is $GEOMETRY"; exit 1; }
    sleep 1
    xdotool key --window "$WID" p
    sleep 0.5
    xdotool key --window "$WID" p
    sleep 0.5
    xdotool key --window "$WID" alt+F4
    for _ in $(seq 50); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$PID" 2>/dev/null; then echo "game did not quit on Alt+F4"; kill "$PID"; exit 1; fi
    STATUS=0
    wait "$PID" || STATUS=$?
}
run
[ "$STATUS" -eq 0 ] || { echo "exit code $STATUS"; cat "$WORK/game.log"; exit 1; }
[ -f screenshots/0000.png ] && [ -f screenshots/0001.png ] || { echo "no screenshots"; cat "$WORK/game.log"; exit 1; }
read -r W H COLOURS LIT < <("$PROBE" screenshots/0001.png)
echo "screenshot ${W}x${H}, $COLOURS colours, $LIT lit"
[ "$W" = 1024 ] && [ "$H" = 768 ] || { echo "wrong screenshot size"; exit 1; }
[ "$COLOURS" -ge 16 ] || { echo "screenshot shows too little"; exit 1; }
awk -v lit="$LIT" 'BEGIN { exit !(lit > 0.2) }' || { echo "screenshot is mostly black"; exit 1; }
echo "window smoke test passed"
