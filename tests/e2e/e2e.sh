#!/usr/bin/env bash
# End to end: the real program on a virtual X server, driven with real mouse
# and keyboard input as a person would. Usage: e2e.sh PATH/TO/dravelin
# Exit 77 (skipped) only where no X server can run.
set -uo pipefail

prog=$(realpath "$1")
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "e2e: skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work"/{home,data,config,runtime}
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "e2e: skipped: Xvfb did not start"; cat "$work/xvfb.log"; exit 77; }
export DISPLAY=":$(cat "$work/display")"

failures=0
fail() { echo "e2e: FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "e2e: ok: $*"; }

start() {
  "$prog" "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
}
# Waits for the program to end; its status in $status, or 999 when it did
# not end in time.
wait_end() {
  status=999
  for _ in $(seq 100); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
      wait "$app_pid"; status=$?; app_pid=; return
    fi
    sleep 0.1
  done
}
drawing_window() {
  timeout 10 xdotool search --sync --onlyvisible --name '^Untitled$' 2>/dev/null | head -n 1
}

# 1. A person starts the program: the drawing window appears, untitled, and
#    the data folder holds the workfile and the copied data files.
start
win=$(drawing_window)
if [ -n "$win" ]; then pass "the drawing window appears"; else fail "no drawing window"; fi
for f in workfile worklibrary DRAVstyles.txt DRAVfonts.txt; do
  [ -f "$XDG_DATA_HOME/Dravelin/$f" ] || fail "the data folder lacks $f"
done

# 1b. The message palette shows beside it; the person moves it.
msg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Messages$' 2>/dev/null | head -n 1)
if [ -n "$msg" ]; then pass "the message palette appears"; else fail "no message palette"; fi
[ -n "$msg" ] && xdotool windowmove --sync "$msg" 400 300 2>/dev/null

# 1c. The tool palette shows; a click on the move tool with nothing drawn
#     says so in an alert, which Return closes.
tools=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tools$' 2>/dev/null | head -n 1)
if [ -n "$tools" ]; then pass "the tool palette appears"; else fail "no tool palette"; fi
if [ -n "$tools" ]; then
  xdotool mousemove --window "$tools" 13 169 click 1
  alert=$(timeout 10 xdotool search --sync --onlyvisible --name '^Dravelin$' 2>/dev/null | head -n 1)
  if [ -n "$alert" ]; then
    pass "the move tool on an empty drawing says so"
    xdotool windowfocus --sync "$alert" 2>/dev/null
    xdotool key Return
    for _ in $(seq 50); do xdotool search --onlyvisible --name '^Dravelin$' >/dev/null 2>&1 || break; sleep 0.1; done
    if xdotool search --onlyvisible --name '^Dravelin$' >/dev/null 2>&1; then fail "Return left the alert open"; fi
  else
    fail "the move tool showed no alert"
  fi
fi

# 2. A second start while the first runs says so and ends with status 1.
#    Its alert waits for the person, who presses Return.
"$prog" >"$work/second.log" 2>&1 &
second=$!
alert=$(timeout 10 xdotool search --sync --onlyvisible --name '^Dravelin$' 2>/dev/null | head -n 1)
[ -n "$alert" ] || fail "the second instance showed no alert"
[ -n "$alert" ] && { xdotool windowfocus --sync "$alert" 2>/dev/null; xdotool key Return; }
s=999
for _ in $(seq 100); do kill -0 "$second" 2>/dev/null || { wait "$second"; s=$?; break; }; sleep 0.1; done
[ "$s" -eq 999 ] && kill -9 "$second"
if [ "$s" -eq 1 ]; then pass "a second instance is refused"; else fail "second instance ended with $s"; fi

# 3. Quit from the keyboard (Ctrl+Q, File > Quit) ends with status 0.
if [ -n "$win" ]; then
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --clearmodifiers ctrl+q
fi
wait_end
if [ "$status" -eq 0 ]; then pass "Ctrl+Q quits with status 0"; else fail "Ctrl+Q: status $status"; cat "$work/app.log"; fi
conf="$XDG_CONFIG_HOME/Dravelin/Dravelin.conf"
if grep -Eq '^WindPosMessages=300, ?400$' "$conf" 2>/dev/null; then pass "the palette's place is kept at quit"
else fail "the palette's place was not kept: $(grep WindPos "$conf" 2>/dev/null)"; fi

# 4. Started again, ended by the session (SIGTERM): a normal exit.
start
win=$(drawing_window)
[ -n "$win" ] || fail "no drawing window on the second start"
msg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Messages$' 2>/dev/null | head -n 1)
where=$( [ -n "$msg" ] && xdotool getwindowgeometry "$msg" 2>/dev/null | sed -n 's/.*Position: \([0-9]*,[0-9]*\).*/\1/p')
if [ "$where" = "400,300" ]; then pass "the palette reopens where it was"; else fail "the palette reopened at '$where'"; fi
kill -TERM "$app_pid"
wait_end
if [ "$status" -eq 0 ]; then pass "SIGTERM ends normally"; else fail "SIGTERM: status $status"; fi

# 5. A drawing named on the command line opens: its name is the window's
#    title. (The reader's seed file, less its leading mode byte.)
seed="$(dirname "$0")/../fuzz/corpus/reader/every-kind-native"
tail -c +2 "$seed" >"$work/plan"
start "$work/plan"
planwin=$(timeout 10 xdotool search --sync --onlyvisible --name '^plan$' 2>/dev/null | head -n 1)
if [ -n "$planwin" ]; then pass "a drawing named on the command line opens"; else fail "no window titled plan"; cat "$work/app.log"; fi
kill -TERM "$app_pid"
wait_end
[ "$status" -eq 0 ] || fail "the drawing's session ended with $status"

# --- Selection (picking and the marquee) ---------------------------------
# On the drawing named on the command line, a press held on the drawing and
# dragged shows a marquee that selects what it touches; a plain click later
# takes the marquee away again. Screenshots of the window tell.
if command -v xwd >/dev/null; then
  start "$work/plan"
  selwin=$(timeout 10 xdotool search --sync --onlyvisible --name '^plan$' 2>/dev/null | head -n 1)
  if [ -n "$selwin" ]; then
    shot() { xwd -silent -id "$selwin" 2>/dev/null | md5sum | cut -d' ' -f1; }
    sleep 1
    geom=$(xdotool getwindowgeometry "$selwin" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*x[0-9]*\).*/\1/p')
    ww=${geom%x*}; wh=${geom#*x}
    # The cross-hair follows the mouse: both shots have it at the same place.
    xdotool mousemove --window "$selwin" $((ww - 40)) $((wh - 40))
    sleep 0.5
    before=$(shot)
    xdotool mousemove --window "$selwin" 40 60 mousedown 1
    sleep 0.8
    xdotool mousemove --window "$selwin" $((ww / 2)) $((wh / 2))
    sleep 0.2
    xdotool mousemove --window "$selwin" $((ww - 40)) $((wh - 40))
    sleep 0.2
    xdotool mouseup 1
    sleep 1
    dragged=$(shot)
    if [ "$dragged" != "$before" ]; then pass "a dragged marquee shows and selects"; else fail "the marquee drag changed nothing on screen"; fi
    # A shift-click and a plain click on the drawing: the program goes on.
    xdotool mousemove --window "$selwin" $((ww / 3)) $((wh / 3)) keydown shift click 1 keyup shift
    sleep 0.6
    xdotool mousemove --window "$selwin" $((ww / 4)) $((wh / 4)) click 1
    sleep 0.6
    if kill -0 "$app_pid" 2>/dev/null; then pass "clicks and shift-clicks on the drawing are taken"; else fail "the program ended after a click"; fi
    kill -TERM "$app_pid"
    wait_end
    [ "$status" -eq 0 ] || fail "the selection session ended with $status"
  else
    fail "no window titled plan for the selection"
  fi
fi
# --- end of selection -----------------------------------------------------

if [ "$failures" -ne 0 ]; then
  echo "e2e: $failures failed"
  exit 1
fi
echo "e2e: all passed"
