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
# tests/e2e/xwd.py reads the screenshots.
export PYTHONPATH="$(cd "$(dirname "$0")" && pwd)${PYTHONPATH:+:$PYTHONPATH}"
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

# ---- Line command (drawing lines with the mouse and a typed point) ----
# 6. The person opens the coordinate input window from the Palettes menu,
#    clicks the line tool, draws a triangle with four clicks, types one
#    point into the input window and enters it, and ends with Q. A
#    screenshot shows the three sides, and more ink after the typed point.
# Counts the dark pixels of a screen rectangle (x, y, w, h) of an xwd dump,
# or answers whether one of the pixels within 5 of (x, y) is dark (the
# clicks snap to the 0.25 increment, up to 4 pixels away).
xwd_probe() {
  python3 - "$@" <<'PY'
import sys
from xwd import Dump
d = Dump(sys.argv[1])
def dark(x, y):
    c = d.rgb(x, y)
    return c is not None and sum(c) < 3 * 100
args = [int(a) for a in sys.argv[3:]]
if sys.argv[2] == 'near':
    x, y = args
    print(1 if any(dark(x + dx, y + dy) for dx in range(-5, 6) for dy in range(-5, 6)) else 0)
else:
    x, y, rw, rh = args
    print(sum(dark(i, j) for j in range(y, y + rh) for i in range(x, x + rw)))
PY
}
start
win=$(drawing_window)
msg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Messages$' 2>/dev/null | head -n 1)
[ -n "$msg" ] && xdotool windowmove --sync "$msg" 60 700 2>/dev/null
tools=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tools$' 2>/dev/null | head -n 1)
if [ -n "$win" ] && [ -n "$tools" ] && command -v xwd >/dev/null; then
  # The Palettes menu's title in the window's menu bar; Coordinate Input is its seventh
  # live item (Tools, Coordinates, Restraints, Construct, Dimensions, Messages, Input).
  xdotool mousemove --window "$win" 157 8 click 1
  sleep 0.5
  xdotool key Down Down Down Down Down Down Down Return
  input=$(timeout 10 xdotool search --sync --onlyvisible --name '^Input$' 2>/dev/null | head -n 1)
  if [ -n "$input" ]; then pass "Palettes > Coordinate Input opens the input window"; else fail "no input window"; fi
  [ -n "$input" ] && xdotool windowmove --sync "$input" 960 80 2>/dev/null
  xdotool mousemove --window "$tools" 13 39 click 1
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
  wx=$X wy=$Y
  # The triangle, in the window's own pixels.
  for p in "400 300" "700 300" "550 520" "400 300"; do
    set -- $p
    xdotool mousemove --window "$win" "$1" "$2" click 1
    sleep 0.3
  done
  sleep 0.5
  xwd -root -silent >"$work/shot1.xwd"
  sides=0
  for m in "550 300" "625 410" "475 410"; do
    set -- $m
    [ "$(xwd_probe "$work/shot1.xwd" near $((wx + $1)) $((wy + $2)))" = 1 ] && sides=$((sides + 1))
  done
  if [ "$sides" -eq 3 ]; then pass "the three lines of the triangle show"; else fail "$sides of the triangle's 3 sides show"; fi
  [ "$(xwd_probe "$work/shot1.xwd" near $((wx + 550)) $((wy + 400)))" = 0 ] || fail "the triangle's inside is not empty"
  ink1=$(xwd_probe "$work/shot1.xwd" count "$wx" "$wy" 900 650)
  if [ -n "$input" ]; then
    eval "$(xdotool getwindowgeometry --shell "$input")"
    # Absolute 2, 2: a point of the drawing's lower left.
    xdotool mousemove --window "$input" 190 70 click --repeat 3 1 type "2"
    xdotool mousemove --window "$input" 190 100 click --repeat 3 1 type "2"
    xdotool mousemove --window "$input" 246 172 click 1
    sleep 0.5
    xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool mousemove --window "$win" 450 200
    sleep 0.5
    xwd -root -silent >"$work/shot2.xwd"
    ink2=$(xwd_probe "$work/shot2.xwd" count "$wx" "$wy" 900 650)
    if [ "$ink2" -gt $((ink1 + 50)) ]; then pass "the typed point adds a line"; else fail "no line to the typed point ($ink1 -> $ink2 dark pixels)"; fi
  fi
  xdotool key q
else
  fail "no drawing window, tool palette or xwd for the line test"
fi
kill -TERM "$app_pid"
wait_end
[ "$status" -eq 0 ] || fail "the line session ended with $status"
# ---- end of the line command ----
# ---- Drawing files out (Save As native and PC, quit, start again) ----
# The records of a native drawing file from its settings on: objects,
# symbol control records and pieces, as the header counts them.
file_records() {
  local f=$1 w
  read -r -a w < <(od -A n -t u1 -j 4 -N 8 "$f")
  local S=$((w[0] * 256 + w[1])) n=$(((w[2] * 256 + w[3]) + (w[4] * 256 + w[5]) + (w[6] * 256 + w[7])))
  tail -c +$((S * 128 + 1)) "$f" | head -c $((n * 128))
}
# Save As through its key, the name typed into the dialog; with "pc" the
# format pop-up is moved to the PC form from the keyboard (Alt+F, Down).
save_as() {
  local win=$1 name=$2 form=$3 dlg
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --clearmodifiers ctrl+shift+s
  dlg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save Drawing$' 2>/dev/null | head -n 1)
  [ -n "$dlg" ] || { fail "Save As showed no save dialog"; return; }
  xdotool windowfocus --sync "$dlg" 2>/dev/null
  xdotool type --delay 5 "$name"
  [ "$form" = pc ] && xdotool key alt+f Down
  xdotool key alt+s
  for _ in $(seq 100); do xdotool search --onlyvisible --name '^Save Drawing$' >/dev/null 2>&1 || break; sleep 0.1; done
}
files_e2e() {
  start "$work/plan"
  local win
  win=$(timeout 10 xdotool search --sync --onlyvisible --name '^plan$' 2>/dev/null | head -n 1)
  [ -n "$win" ] || { fail "files: no window titled plan"; kill -TERM "$app_pid"; wait_end; return; }
  # No extension typed: the native one is added.
  save_as "$win" "$work/saved-native" native
  win=$(timeout 10 xdotool search --sync --onlyvisible --name '^saved-native.drw$' 2>/dev/null | head -n 1)
  if [ -n "$win" ] && [ -f "$work/saved-native.drw" ] && [ -f "$work/._saved-native.drw" ]; then
    pass "Save As writes a native drawing and names the window"
  else fail "Save As native: no saved-native.drw"; fi
  save_as "$win" "$work/saved-pc.2d" pc
  win=$(timeout 10 xdotool search --sync --onlyvisible --name '^saved-pc.2d$' 2>/dev/null | head -n 1)
  local v
  v=$(od -A n -t u1 -j 2 -N 2 "$work/saved-pc.2d" 2>/dev/null | tr -s ' ')
  if [ -n "$win" ] && [ "$v" = " 70 0" ] && [ ! -e "$work/._saved-pc.2d" ]; then
    pass "Save As writes a PC drawing"
  else fail "Save As PC: version bytes '$v'"; fi
  # Saved: File > Quit (its key) asks nothing.
  [ -n "$win" ] && { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --clearmodifiers ctrl+q; }
  wait_end
  [ "$status" -eq 0 ] || { fail "files: quit after saving ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  [ "$(file_records "$work/plan" | wc -c)" -gt 0 ] || fail "files: the original holds no records to compare"
  if cmp -s <(file_records "$work/plan") <(file_records "$work/saved-native.drw"); then
    pass "the native file holds the original's records"
  else fail "the native file's records differ from the original's"; fi
  # Each saved file opens again and, saved natively once more, holds the same records.
  local f base
  for f in saved-native.drw saved-pc.2d; do
    start "$work/$f"
    win=$(timeout 10 xdotool search --sync --onlyvisible --name "^${f//./\\.}\$" 2>/dev/null | head -n 1)
    [ -n "$win" ] || { fail "files: $f did not open"; kill -TERM "$app_pid"; wait_end; continue; }
    base=again-${f%%.*}.drw
    save_as "$win" "$work/$base" native
    timeout 10 xdotool search --sync --onlyvisible --name "^${base//./\\.}\$" >/dev/null 2>&1
    xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool key --clearmodifiers ctrl+q
    wait_end
    [ "$status" -eq 0 ] || { fail "files: quit after reopening $f ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
    if [ -f "$work/$base" ] && cmp -s <(file_records "$work/plan") <(file_records "$work/$base"); then
      pass "$f reads back the original's records"
    else fail "$f does not read back the original's records"; fi
  done
}
files_e2e
# ---- end of drawing files out ----
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

# ---- Curves and text (placed with the mouse and the keyboard, saved, reopened) ----
# A person draws a Bezier segment with three clicks, places a line of text
# typed into the text dialog, saves the drawing, and opens it again; the
# saved file holds both records, and saving the reopened drawing keeps them.
# Checks the records of a saved drawing: one Bezier whose end lies 200
# pixels right of its start, and one text reading "Plan A".
curve_text_records() {
  file_records "$1" | python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
bez = txt = 0
for i in range(0, len(data) - 127, 128):
    r = data[i:i + 128]
    if r[1] & 0x3f != 44: continue
    kind = r[78] >> 4
    f = lambda o: struct.unpack(">d", r[o:o + 8])[0]
    if kind == 6 and f(112) > 0 and abs(f(120)) < 1e-9 and f(88) > 0: bez += 1
    if kind == 4 and r[98:105] == b"Plan A\x00": txt += 1
print(bez, txt)'
}
curves_text_e2e() {
  start
  local win tools dlg
  win=$(drawing_window)
  tools=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tools$' 2>/dev/null | head -n 1)
  msg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Messages$' 2>/dev/null | head -n 1)
  [ -n "$msg" ] && xdotool windowmove --sync "$msg" 60 700 2>/dev/null
  if [ -z "$win" ] || [ -z "$tools" ]; then
    fail "curves: no drawing window or tool palette"; kill -TERM "$app_pid"; wait_end; return
  fi
  # The curve tool (a Bezier chain): start, end, then the shaping click above.
  xdotool mousemove --window "$tools" 39 117 click 1
  sleep 0.5
  for p in "300 300" "500 300" "400 200"; do
    set -- $p
    xdotool mousemove --window "$win" "$1" "$2" click 1
    sleep 0.3
  done
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key q
  sleep 0.3
  # The text tool: the line typed into its dialog, dragged and dropped, then
  # an empty line ends the tool.
  xdotool mousemove --window "$tools" 39 143 click 1
  dlg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Text$' 2>/dev/null | head -n 1)
  if [ -n "$dlg" ]; then
    pass "the text tool asks for a line"
    # Plain letters: xdotool types others by remapping a key for a moment,
    # which a busy machine can see too late.
    xdotool windowfocus --sync "$dlg" 2>/dev/null
    xdotool type --delay 30 "Plan A"
    sleep 0.3
    xdotool key Return
    for _ in $(seq 50); do xdotool search --onlyvisible --name '^Text$' >/dev/null 2>&1 || break; sleep 0.1; done
    xdotool mousemove --window "$win" 340 420
    sleep 0.3
    xdotool mousemove --window "$win" 350 450
    sleep 0.3
    xdotool click 1
    dlg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Text$' 2>/dev/null | head -n 1)
    if [ -n "$dlg" ]; then
      xdotool windowfocus --sync "$dlg" 2>/dev/null
      xdotool key Return
      for _ in $(seq 50); do xdotool search --onlyvisible --name '^Text$' >/dev/null 2>&1 || break; sleep 0.1; done
    else
      fail "the text tool did not ask for a second line"
    fi
  else
    fail "the text tool showed no dialog"
  fi
  save_as "$win" "$work/curves" native
  win=$(timeout 10 xdotool search --sync --onlyvisible --name '^curves.drw$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --clearmodifiers ctrl+q; }
  wait_end
  [ "$status" -eq 0 ] || { fail "curves: quit after saving ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  if [ "$(curve_text_records "$work/curves.drw" 2>/dev/null)" = "1 1" ]; then
    pass "the saved drawing holds the curve and the text line"
  else fail "curves: the saved records are '$(curve_text_records "$work/curves.drw" 2>/dev/null)' (Bezier, text)"; fi
  # Reopened and saved again, the records come back the same.
  start "$work/curves.drw"
  win=$(timeout 10 xdotool search --sync --onlyvisible --name '^curves\.drw$' 2>/dev/null | head -n 1)
  if [ -n "$win" ]; then
    save_as "$win" "$work/curves-again" native
    win=$(timeout 10 xdotool search --sync --onlyvisible --name '^curves-again\.drw$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --clearmodifiers ctrl+q; }
  else
    fail "curves: the saved drawing did not open"
  fi
  wait_end
  [ "$status" -eq 0 ] || { fail "curves: the reopened session ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  if [ -f "$work/curves-again.drw" ] && cmp -s <(file_records "$work/curves.drw") <(file_records "$work/curves-again.drw"); then
    pass "the curve and the text line read back the same"
  else fail "curves: the reopened drawing's records differ"; fi
}
curves_text_e2e
# ---- end of curves and text ----

# --- Dragging the handle marker --------------------------------------------
# A line drawn with the line tool and picked shows its handle marker (a
# filled square); a press on it dragged with the mouse puts the handle where
# the button is let go, and Edit > Undo (its key, Ctrl+Z) puts it back.
# Screenshots of the window find the marker.
# Prints the window-local centre "x y" of the filled 6x6 square nearest to
# (x, y) within r pixels, or nothing; with a fifth argument, the inked pixel
# of column x nearest to row y instead.
find_marker() {
  python3 - "$@" <<'PY'
import sys
from xwd import Dump
d = Dump(sys.argv[1])
w, h = d.w, d.h
cx, cy, r = (int(a) for a in sys.argv[2:5])
line = len(sys.argv) > 5
def dark(x, y):
    c = d.rgb(x, y)
    return c is not None and sum(c) < 650  # any ink, the highlight too
if line:  # the dark pixel of column cx nearest to row cy
    rows = [y for y in range(max(cy - r, 0), min(cy + r, h)) if dark(cx, y)]
    if rows: print(cx, min(rows, key=lambda y: abs(y - cy)))
    sys.exit(0)
x0, y0 = max(cx - 3 - r, 0), max(cy - 3 - r, 0)
ink = {(x, y) for y in range(y0, min(cy + 3 + r, h)) for x in range(x0, min(cx + 3 + r, w)) if dark(x, y)}
best = None
for y in range(y0, min(cy - 3 + r, h - 6) + 1):
    for x in range(x0, min(cx - 3 + r, w - 6) + 1):
        if all((x + i, y + j) in ink for j in range(6) for i in range(6)):
            d = (x + 3 - cx) ** 2 + (y + 3 - cy) ** 2
            if best is None or d < best[0]: best = (d, x + 3, y + 3)
if best: print(best[1], best[2])
PY
}
drag_e2e() {
  start
  local win tools msg at moved back
  win=$(drawing_window)
  tools=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tools$' 2>/dev/null | head -n 1)
  msg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Messages$' 2>/dev/null | head -n 1)
  [ -n "$msg" ] && xdotool windowmove --sync "$msg" 60 700 2>/dev/null
  if [ -z "$win" ] || [ -z "$tools" ]; then
    fail "drag: no drawing window or tool palette"; kill -TERM "$app_pid"; wait_end; return
  fi
  # The line tool, a line from (300, 300) to (600, 300), Q; then a click on it picks it.
  xdotool mousemove --window "$tools" 13 39 click 1
  sleep 0.5
  xdotool mousemove --window "$win" 300 300 click 1
  sleep 0.3
  xdotool mousemove --window "$win" 600 300 click 1
  sleep 0.3
  xdotool key q
  sleep 0.5
  xwd -silent -id "$win" >"$work/drag0.xwd"
  at=$(find_marker "$work/drag0.xwd" 450 300 10 line)
  [ -n "$at" ] || { fail "drag: the line does not show"; kill -TERM "$app_pid"; wait_end; return; }
  xdotool mousemove --window "$win" $at click 1
  sleep 1
  xwd -silent -id "$win" >"$work/drag1.xwd"
  at=$(find_marker "$work/drag1.xwd" 450 300 200)
  if [ -z "$at" ]; then
    fail "drag: the picked line shows no handle marker"; kill -TERM "$app_pid"; wait_end; return
  fi
  set -- $at
  local hx=$1 hy=$2
  pass "the picked line shows its handle marker at $hx,$hy"
  # Press on the marker, drag it 60 right and 40 up, let go.
  xdotool mousemove --window "$win" "$hx" "$hy" mousedown 1
  sleep 0.3
  for s in 1 2 3 4; do
    xdotool mousemove --window "$win" $((hx + 15 * s)) $((hy - 10 * s))
    sleep 0.15
  done
  xdotool mouseup 1
  sleep 0.8
  xdotool mousemove --window "$win" 700 500
  sleep 0.5
  xwd -silent -id "$win" >"$work/drag2.xwd"
  moved=$(find_marker "$work/drag2.xwd" $((hx + 60)) $((hy - 40)) 6)
  if [ -n "$moved" ] && [ -z "$(find_marker "$work/drag2.xwd" "$hx" "$hy" 2)" ]; then
    pass "the handle marker dragged with the mouse moves there"
  else fail "drag: the marker did not move (at '$moved')"; fi
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --clearmodifiers ctrl+z
  sleep 0.8
  xwd -silent -id "$win" >"$work/drag3.xwd"
  back=$(find_marker "$work/drag3.xwd" "$hx" "$hy" 2)
  if [ -n "$back" ] && [ -z "$(find_marker "$work/drag3.xwd" $((hx + 60)) $((hy - 40)) 6)" ]; then
    pass "Edit > Undo puts the handle back"
  else fail "drag: Undo left the marker away (at '$back')"; fi
  kill -TERM "$app_pid"
  wait_end
  [ "$status" -eq 0 ] || fail "the drag session ended with $status"
}
command -v xwd >/dev/null && drag_e2e
# --- end of dragging the handle marker -------------------------------------

# Starts the program on the saved drawing $1, which must open in a window
# named after it (pass $2), then ends it; failures name the block $3.
reopens() {
  local name
  name=$(basename "$1")
  start "$1"
  win=$(timeout 10 xdotool search --sync --onlyvisible --name "^${name//./\\.}\$" 2>/dev/null | head -n 1)
  if [ -n "$win" ]; then pass "$2"; else fail "$3: $name did not open"; fi
  kill -TERM "$app_pid"
  wait_end
  [ "$status" -eq 0 ] || fail "$3: the reopened $name's session ended with $status"
}

# ---- Walls (chain mode, a room of four walls, saved and read back) ----
# The person opens the wall tool's settings, chooses one chain and a width of 1
# in its settings, draws a room of four chained walls with five clicks, ends
# with Q, saves it, and opens it again. The saved file holds two lines per
# wall; the corners between walls are mitred, the closing one is not.
walls_e2e() {
  start
  local win tools dlg mlin f
  win=$(drawing_window)
  tools=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tools$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && [ -n "$tools" ] || { fail "walls: no drawing window or tool palette"; kill -TERM "$app_pid"; wait_end; return; }
  # Ctrl+Shift+F2 stands for a double click on the wall tool: its settings.
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool mousemove --window "$win" 500 400
  xdotool key --clearmodifiers ctrl+shift+F2
  dlg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Multi-line settings$' 2>/dev/null | head -n 1)
  [ -n "$dlg" ] || { fail "walls: the wall settings did not open"; kill -TERM "$app_pid"; wait_end; return; }
  xdotool mousemove --window "$dlg" 60 51 click 1
  xdotool mousemove --window "$dlg" 200 212 click --repeat 3 --delay 30 1 type "1"
  xdotool mousemove --window "$dlg" 180 246 click --repeat 3 --delay 30 1 type "2"
  xdotool mousemove --window "$dlg" 464 294 click 1
  for _ in $(seq 50); do xdotool search --onlyvisible --name '^Multi-line settings$' >/dev/null 2>&1 || break; sleep 0.1; done
  mlin=$(timeout 10 xdotool search --sync --onlyvisible --name '^Multi-line$' 2>/dev/null | head -n 1)
  if [ -n "$mlin" ]; then pass "the wall command runs with the multi-line palette"; else fail "walls: no multi-line palette"; fi
  # If the double click left the command waiting, a single click starts it.
  [ -n "$mlin" ] || xdotool mousemove --window "$tools" 39 39 click 1
  sleep 0.5
  for p in "300 200" "650 200" "650 450" "300 450" "300 200"; do
    set -- $p
    xdotool mousemove --window "$win" "$1" "$2" click 1
    sleep 0.3
  done
  xdotool key q
  sleep 0.5
  save_as "$win" "$work/room" native
  f="$work/room.drw"
  timeout 10 xdotool search --sync --onlyvisible --name '^room\.drw$' >/dev/null 2>&1
  xdotool key --clearmodifiers ctrl+q
  wait_end
  [ "$status" -eq 0 ] || { fail "walls: quit after saving ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  [ -f "$f" ] || { fail "walls: room.drw was not saved"; return; }
  local verdict
  verdict=$(file_records "$f" | python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
recs = [data[i:i + 128] for i in range(0, len(data), 128)]
lines = []
for r in recs:
    if struct.unpack(">H", r[0:2])[0] & 63 != 44 or r[78] >> 4 != 1:
        print("not a line record"); sys.exit()
    x, y, dx, dy = struct.unpack(">dd", r[28:44]) + struct.unpack(">dd", r[80:96])
    lines.append((dx * dx + dy * dy) ** 0.5)
if len(lines) != 8:
    print("%d records" % len(lines)); sys.exit()
# The faces of a wall differ by the width at each mitred end.
diffs = [round(abs(lines[i] - lines[i + 1]), 6) for i in range(0, 8, 2)]
print("ok" if diffs == [1, 2, 2, 1] else "face lengths differ by %s" % diffs)
')
  if [ "$verdict" = ok ]; then pass "the room's four chained walls are saved mitred"; else fail "walls: $verdict"; fi
  reopens "$f" "the saved room opens again" walls
}
walls_e2e
# ---- end of walls ----

# ---- Clipboard (copy and paste through the desktop's clipboard) ----
# In the drawing named on the command line, Ctrl+C puts the current object on
# the desktop's clipboard, where a second process reads its records and the
# PNG image of its picture while Dravelin runs; Ctrl+V pastes the records
# back. Text another program puts on the clipboard pastes as a text object.
# The saved file holds both.
clipboard_e2e() {
  command -v xclip >/dev/null || { fail "clipboard: xclip is not installed"; return; }
  start "$work/plan"
  local win
  win=$(timeout 10 xdotool search --sync --onlyvisible --name '^plan$' 2>/dev/null | head -n 1)
  [ -n "$win" ] || { fail "clipboard: no window titled plan"; kill -TERM "$app_pid"; wait_end; return; }
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --clearmodifiers ctrl+c
  local got=0
  for _ in $(seq 50); do
    timeout 5 xclip -selection clipboard -o -t application/x-dravelin-segs >"$work/segs" 2>/dev/null
    got=$(wc -c <"$work/segs")
    [ "$got" -gt 0 ] && break
    sleep 0.1
  done
  if [ "$got" -gt 0 ] && [ $((got % 128)) -eq 0 ]; then
    pass "another process reads the copied records from the clipboard"
  else fail "clipboard: $got bytes of records on the clipboard"; fi
  timeout 5 xclip -selection clipboard -o -t image/png >"$work/copied.png" 2>/dev/null
  if [ "$(head -c 8 "$work/copied.png" | od -A n -t x1 | tr -d ' ')" = "89504e470d0a1a0a" ]; then
    pass "another process reads the copied objects as a PNG image"
  else fail "clipboard: no PNG image on the clipboard"; fi
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --clearmodifiers ctrl+v
  sleep 0.5
  # Another program's text.
  printf 'Pasted from outside' | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
  local holder=$!
  sleep 0.5
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --clearmodifiers ctrl+v
  sleep 0.5
  save_as "$win" "$work/pasted" native
  kill "$holder" 2>/dev/null
  win=$(timeout 10 xdotool search --sync --onlyvisible --name '^pasted.drw$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --clearmodifiers ctrl+q; }
  wait_end
  [ "$status" -eq 0 ] || { fail "clipboard: quit ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  local before after
  before=$(file_records "$work/plan" | wc -c)
  after=$( [ -f "$work/pasted.drw" ] && file_records "$work/pasted.drw" | wc -c)
  # The copied records, and the text in one record of its own.
  if [ "$got" -gt 0 ] && [ "${after:-0}" -eq $((before + got + 128)) ]; then
    pass "Ctrl+V pastes the copied records and the outside text into the drawing"
  else fail "clipboard: the saved drawing holds ${after:-no} bytes of records, $before before, $got copied"; fi
  if [ -f "$work/pasted.drw" ] && file_records "$work/pasted.drw" | grep -aq 'Pasted from outside'; then
    pass "the outside text is a text object of the drawing"
  else fail "clipboard: the outside text is not in the saved drawing"; fi
}
clipboard_e2e
# ---- end of clipboard ----

# ---- Symbol libraries (open Archlib1 from the File menu, place a door) ----
# The File menu's Open Symbol Library (eighth item), the shipped Archlib1
# chosen by typing its path, a click on slot 4 (the 36-inch door) of the
# library window, a click in the drawing places it, Q ends; saved, the
# file holds the placed door and its symbol, and it opens again.
# Opens Archlib1 with the File menu's Open Symbol Library (eighth item) in
# the drawing window $1; sets lib to the library window. On failure says so
# with the label $2, ends the program and returns 1.
open_archlib1() {
  local win=$1 label=$2 msg try dlg
  # The message palette may lie over the menu bar: it goes aside first.
  msg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Messages$' 2>/dev/null | head -n 1)
  [ -n "$msg" ] && xdotool windowmove --sync "$msg" 400 300 2>/dev/null
  sleep 1
  for try in 1 2 3; do
    xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool mousemove --window "$win" 20 10 click 1
    sleep 0.8
    xdotool key Down Down Down Down Down Down Down Down Return
    dlg=$(timeout 5 xdotool search --sync --onlyvisible --name '^Choose a Library$' 2>/dev/null | head -n 1)
    [ -n "$dlg" ] && break
    xdotool key Escape
  done
  [ -n "$dlg" ] || { fail "$label: File > Open Symbol Library showed no dialog"; kill -TERM "$app_pid"; wait_end; return 1; }
  xdotool windowfocus --sync "$dlg" 2>/dev/null
  xdotool type --delay 5 "$XDG_DATA_HOME/Dravelin/Archlib1"
  xdotool key Return
  lib=$(timeout 10 xdotool search --sync --onlyvisible --name '^Archlib1$' 2>/dev/null | head -n 1)
  [ -n "$lib" ] || { fail "$label: no window titled Archlib1"; kill -TERM "$app_pid"; wait_end; return 1; }
}

library_e2e() {
  start
  local win lib dlg
  win=$(drawing_window)
  [ -n "$win" ] || { fail "library: no drawing window"; kill -TERM "$app_pid"; wait_end; return; }
  [ -f "$XDG_DATA_HOME/Dravelin/Archlib1" ] || fail "library: the data folder lacks Archlib1"
  open_archlib1 "$win" library || return
  pass "Open Symbol Library shows the library window"
  # The library window lies at (100, 100): the door goes well to its right.
  sleep 0.5
  xdotool mousemove --window "$lib" 80 11 click 1
  sleep 0.8
  xdotool mousemove --window "$win" 800 500
  sleep 0.3
  xdotool mousemove --window "$win" 802 502 click 1
  sleep 0.8
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key q
  sleep 0.5
  save_as "$win" "$work/door" native
  timeout 10 xdotool search --sync --onlyvisible --name '^door.drw$' >/dev/null 2>&1
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --clearmodifiers ctrl+q
  wait_end
  [ "$status" -eq 0 ] || { fail "library: quit after saving ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  local found
  found=$(file_records "$work/door.drw" 2>/dev/null | python3 -c '
import sys
d = sys.stdin.buffer.read()
recs = [d[i:i + 128] for i in range(0, len(d) - 127, 128)]
refs = [r for r in recs if r[1] & 31 == 12 and r[78] >> 4 == 8 and r[80:88].rstrip(b"\0") == b"Archlib1"]
ctrls = [r for r in recs if r[1] & 31 == 11 and r[11:17] == b"Door36"]
print(len(refs), len(ctrls))' 2>/dev/null)
  if [ "$found" = "1 1" ]; then pass "the saved drawing holds the placed door and its symbol"
  else fail "library: the saved drawing's door records: '$found'"; fi
  reopens "$work/door.drw" "the drawing with the door opens again" library
}
library_e2e
# ---- end of symbol libraries ----

# ---- Lines and shapes saved and reopened; the view-button strip -----------
# The objects of a native drawing file, one a line, from the records as
# file_records gives them: the kind and the values a person sees.
drawn_objects() {
  file_records "$1" | python3 -c '
import struct, sys
d = sys.stdin.buffer.read()
f = lambda r, o: round(struct.unpack(">d", r[o:o + 8])[0], 4) + 0.0
for i in range(0, len(d) - 127, 128):
    r = d[i:i + 128]
    kind = struct.unpack(">H", r[78:80])[0] >> 12
    xy = "%g %g" % (f(r, 28), f(r, 36))
    if kind == 1: print("line", xy, "%g %g" % (f(r, 80), f(r, 88)))
    elif kind == 2: print("rect", xy, "%g %g %g" % (f(r, 60), f(r, 80), f(r, 88)))
    elif kind == 3:
        flags = struct.unpack(">H", r[114:116])[0]
        if flags & 1: print("polygon", xy, "%g %g %g" % (f(r, 60), f(r, 80), struct.unpack(">h", r[112:114])[0]))
        else: print("ellipse", xy, "%g %g %g %g %g %d" % (f(r, 60), f(r, 80), f(r, 88), f(r, 96), f(r, 104), flags))
    elif kind == 7: print("point", xy, "%g" % f(r, 60))
    else: print("kind", kind)
'
}
# Saves the drawing in $1 natively under $2, quits, opens the file again,
# saves it once more and compares what the two files hold with $3.
saved_and_reopened() {
  local win=$1 name=$2 want=$3 what=$4 again
  save_as "$win" "$work/$name" native
  timeout 10 xdotool search --sync --onlyvisible --name "^${name//./\\.}\$" >/dev/null 2>&1
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --clearmodifiers ctrl+q
  wait_end
  [ "$status" -eq 0 ] || { fail "$what: quit after saving ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  local got
  got=$(drawn_objects "$work/$name" 2>/dev/null)
  if [ "$got" = "$want" ]; then pass "$what: the saved file holds them"
  else fail "$what: the saved file holds '$got', not '$want'"; fi
  start "$work/$name"
  again=$(timeout 10 xdotool search --sync --onlyvisible --name "^${name//./\\.}\$" 2>/dev/null | head -n 1)
  [ -n "$again" ] || { fail "$what: $name did not open"; kill -TERM "$app_pid"; wait_end; return; }
  save_as "$again" "$work/again-$name" native
  timeout 10 xdotool search --sync --onlyvisible --name "^again-${name//./\\.}\$" >/dev/null 2>&1
  xdotool windowfocus --sync "$again" 2>/dev/null
  xdotool key --clearmodifiers ctrl+q
  wait_end
  [ "$status" -eq 0 ] || { fail "$what: quit after reopening ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  if [ "$(drawn_objects "$work/again-$name" 2>/dev/null)" = "$want" ]; then pass "$what: reopened, they read back"
  else fail "$what: reopened, they do not read back"; fi
}
# A new drawing on this screen shows about 40.27 pixels a unit: a click at
# pixel (h, v) of the drawing window is the point (h / 40.27, (726 - v) / 40.27)
# snapped to the 0.25 increment.
gaps_e2e() {
  local win tools input shot
  # 1. The triangle and the typed point of the line block, ended with Q:
  #    every side still shows, and the file holds the four lines.
  start
  win=$(drawing_window)
  tools=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tools$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && [ -n "$tools" ] || { fail "gaps: no drawing window or tool palette"; kill -TERM "$app_pid"; wait_end; return; }
  # The message palette away from the menu bar, then Palettes > Coordinate Input.
  local msg
  msg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Messages$' 2>/dev/null | head -n 1)
  [ -n "$msg" ] && xdotool windowmove --sync "$msg" 60 700 2>/dev/null
  xdotool mousemove --window "$win" 157 8 click 1
  sleep 0.5
  xdotool key Down Down Down Down Down Down Down Return
  input=$(timeout 10 xdotool search --sync --onlyvisible --name '^Input$' 2>/dev/null | head -n 1)
  [ -n "$input" ] || { fail "gaps: no input window"; kill -TERM "$app_pid"; wait_end; return; }
  xdotool windowmove --sync "$input" 960 80 2>/dev/null
  xdotool mousemove --window "$tools" 13 39 click 1
  sleep 0.5
  for p in "400 300" "700 300" "550 520" "400 300"; do
    set -- $p
    xdotool mousemove --window "$win" "$1" "$2" click 1
    sleep 0.3
  done
  # The input window stays above the drawing: these clicks reach its fields.
  xdotool mousemove --window "$input" 190 70 click --repeat 3 1 type "2"
  xdotool mousemove --window "$input" 190 100 click --repeat 3 1 type "2"
  xdotool mousemove --window "$input" 246 172 click 1
  sleep 0.5
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool mousemove --window "$win" 450 200
  xdotool key q
  sleep 0.8
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xwd -root -silent >"$work/gaps1.xwd"
  local sides=0 m
  # (The typed line is the current object now, in the highlight colour.)
  for m in "550 300" "625 410" "475 410"; do
    set -- $m
    [ "$(xwd_probe "$work/gaps1.xwd" near $((X + $1)) $((Y + $2)))" = 1 ] && sides=$((sides + 1))
  done
  if [ "$sides" -eq 3 ]; then pass "after the typed point and Q the triangle's sides all show"
  else fail "after the typed point and Q $sides of the triangle's 3 sides show"; fi
  saved_and_reopened "$win" tri.drw "line 10 10.5 7.5 0
line 17.5 10.5 -3.75 -5.5
line 13.75 5 -3.75 5.5
line 10 10.5 -8 -8.5" "the triangle and the typed line"
  # 2. One of each shape with real clicks; the next tool's click ends the
  #    running command, Q ends the last.
  start
  win=$(drawing_window)
  tools=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tools$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && [ -n "$tools" ] || { fail "gaps: no window for the shapes"; kill -TERM "$app_pid"; wait_end; return; }
  local shape
  for shape in "13 65 | 100 100 | 200 180" "13 91 | 300 140 | 380 140" \
               "13 117 | 460 140 | 540 140 | 500 100" "39 91 | 600 140 | 765 140 | 680 100" \
               "39 65 | 150 400 | 230 400" "13 143 | 400 400"; do
    IFS='|' read -r -a parts <<<"$shape"
    set -- ${parts[0]}
    xdotool mousemove --window "$tools" "$1" "$2" click 1
    sleep 0.5
    for m in "${parts[@]:1}"; do
      set -- $m
      xdotool mousemove --window "$win" "$1" "$2"
      sleep 0.2
      xdotool click 1
      sleep 0.3
    done
  done
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key q
  sleep 0.5
  # 3. The view moves: the vertical bar's down arrow, then zoom out, zoom
  #    in and the full view from the buttons in the window's lower left. (A
  #    new drawing's view is the display list's closest: zoom in comes after
  #    a zoom out.)
  local ww wh before after step
  eval "$(xdotool getwindowgeometry --shell "$win")"
  ww=$WIDTH wh=$HEIGHT
  xdotool mousemove --window "$win" 600 600
  sleep 0.3
  for step in "down arrow:$((ww - 8)) $((wh - 21))" "zoom out:38 $((wh - 7))" "zoom in:23 $((wh - 7))" \
              "full view:53 $((wh - 7))"; do
    before=$(xwd -silent -id "$win" 2>/dev/null | md5sum)
    set -- ${step#*:}
    xdotool mousemove --window "$win" "$1" "$2" click 1
    sleep 0.8
    xdotool mousemove --window "$win" 600 600
    sleep 0.3
    after=$(xwd -silent -id "$win" 2>/dev/null | md5sum)
    if [ "$after" != "$before" ]; then pass "the ${step%%:*} changes the view"; else fail "the ${step%%:*} changed nothing"; fi
  done
  saved_and_reopened "$win" shapes.drw "rect 2.5 15.5 0 2.5 -2
ellipse 7.5 14.5 0 2 2 0 0 2
ellipse 12.5 14.5 0 1 1 3.1416 0 2
ellipse 17 14.5 1.5708 1 2 0 0 2
polygon 3.75 8 0 2 8
point 10 8 0" "one of each shape"
}
gaps_e2e
# ---- end of lines and shapes saved and reopened ----------------------------

# ---- Double click on a palette square (the line tool's settings) ----
# A real double click on the line tool opens its settings window, whose
# Cancel button closes it; the program goes on and ends normally.
dblclick_e2e() {
  start
  local win tools dlg
  win=$(drawing_window)
  tools=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tools$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && [ -n "$tools" ] || { fail "double click: no drawing window or tool palette"; kill -TERM "$app_pid"; wait_end; return; }
  xdotool mousemove --window "$tools" 13 39 click --repeat 2 --delay 80 1
  dlg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Line$' 2>/dev/null | head -n 1)
  if [ -n "$dlg" ]; then
    pass "a double click on the line tool opens its settings"
    xdotool mousemove --window "$dlg" 228 84 click 1
    for _ in $(seq 50); do xdotool search --onlyvisible --name '^Line$' >/dev/null 2>&1 || break; sleep 0.1; done
    if xdotool search --onlyvisible --name '^Line$' >/dev/null 2>&1; then fail "double click: Cancel left the line settings open"; fi
  else
    fail "double click: the line tool's settings did not open"
  fi
  kill -TERM "$app_pid"
  wait_end
  [ "$status" -eq 0 ] || { fail "double click: the session ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
}
dblclick_e2e
# ---- end of double click on a palette square ----

# ---- Symbol placement settings (the library window's settings box) ----
# With Archlib1 open from the File menu, a click on the small box at the
# library window's bottom left opens the placement settings; Cancel closes
# them and the program ends normally.
placement_e2e() {
  start
  local win lib dlg msg try h
  win=$(drawing_window)
  [ -n "$win" ] || { fail "placement: no drawing window"; kill -TERM "$app_pid"; wait_end; return; }
  open_archlib1 "$win" "placement" || return
  sleep 0.5
  h=$(xdotool getwindowgeometry "$lib" | awk '/Geometry/ { split($2, a, "x"); print a[2] }')
  xdotool mousemove --window "$lib" 6 $((h - 6)) click 1
  dlg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Symbol placement$' 2>/dev/null | head -n 1)
  if [ -n "$dlg" ]; then
    pass "the library window's settings box opens the placement settings"
    xdotool mousemove --window "$dlg" 216 302 click 1
    for _ in $(seq 50); do xdotool search --onlyvisible --name '^Symbol placement$' >/dev/null 2>&1 || break; sleep 0.1; done
    if xdotool search --onlyvisible --name '^Symbol placement$' >/dev/null 2>&1; then fail "placement: Cancel left the settings open"; fi
  else
    fail "placement: the settings box opened nothing"
  fi
  kill -TERM "$app_pid"
  wait_end
  [ "$status" -eq 0 ] || { fail "placement: the session ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
}
placement_e2e
# ---- end of symbol placement settings ----

# ---- Selecting and viewing (clicks, a group, a marquee, zoom and full view) ----
# Two rectangles drawn with the mouse; a click on one selects it (it shows in
# the highlight colour), shift-clicks build a group of both, a marquee dragged
# around the second alone selects only it. Then a double click on the second
# window button and a rectangle dragged around the first rectangle zoom in on
# it, the third button zooms out one step and the fourth shows the whole
# drawing: the view saved with the drawing after each says where it went.
# Answers whether the two rectangles' boxes of a window dump pass the test
# given as a python expression of a1, c1 (the first box's dark and coloured
# pixels: coloured is the highlight, neither black nor white nor grey) and
# a2, c2; prints the counts.
sv_boxes() {
  python3 - "$@" <<'PY'
import sys
from xwd import Dump
d = Dump(sys.argv[1])
def counts(x0, y0, rw, rh):
    dark = coloured = 0
    for y in range(max(y0, 0), min(y0 + rh, d.h)):
        for x in range(max(x0, 0), min(x0 + rw, d.w)):
            c = d.rgb(x, y)
            if sum(c) < 300: dark += 1
            elif max(c) - min(c) > 60: coloured += 1
    return dark, coloured
a1, c1 = counts(290, 240, 120, 100)
a2, c2 = counts(540, 240, 120, 100)
print(a1, c1, a2, c2)
sys.exit(0 if eval(sys.argv[2]) else 1)
PY
}
# The view saved in a drawing file ("x left, x right, y bottom, y top") and its
# rectangles' extents, then the check named by $2 against hand values:
#   in: the first rectangle (the leftmost) lies inside the view, the second not;
#   out R: the view is twice as wide as R (the width before) around the same middle;
#   full: the extents fitted to the view's proportions, widened 2 % on each side.
sv_view_check() {
  file_records "$1" >"$work/sv.recs"
  python3 - "$1" "$work/sv.recs" "${@:2}" <<'PY'
import struct, sys
d = open(sys.argv[1], 'rb').read()
xl, xr, yb, yt = struct.unpack('>4d', d[130:162])
recs = open(sys.argv[2], 'rb').read()
sys.argv[1:3] = []
rects = []
for i in range(0, len(recs) - 127, 128):
    r = recs[i:i + 128]
    if r[1] & 0x3f != 44 or struct.unpack('>H', r[78:80])[0] >> 12 != 2: continue
    f = lambda o: struct.unpack('>d', r[o:o + 8])[0]
    x, y, dx, dy = f(28), f(36), f(80), f(88)
    rects.append((min(x, x + dx), max(x, x + dx), min(y, y + dy), max(y, y + dy)))
rects.sort()
print('view %.4f %.4f %.4f %.4f, %d rectangles' % (xl, xr, yb, yt, len(rects)), file=sys.stderr)
ok = len(rects) == 2
if ok and sys.argv[1] == 'in':
    a, b = rects
    ok = xl <= a[0] and a[1] <= xr and yb <= a[2] and a[3] <= yt and b[0] > xr
elif ok and sys.argv[1] == 'out':
    w0, m0 = float(sys.argv[2]), float(sys.argv[3])
    ok = abs((xr - xl) - 2 * w0) < 0.02 * w0 and abs((xl + xr) / 2 - m0) < 0.02 * w0
elif ok and sys.argv[1] == 'full':
    lo, hi = min(r[0] for r in rects), max(r[1] for r in rects)
    bo, to = min(r[2] for r in rects), max(r[3] for r in rects)
    W = hi - lo
    ok = abs(xl - (lo - 0.02 * W)) < 1e-6 and abs(xr - (hi + 0.02 * W)) < 1e-6 and \
         abs((yb + yt) / 2 - (bo + to) / 2) < 1e-6 and yt - yb > to - bo
print('%.9g %.9g' % (xr - xl, (xl + xr) / 2) if ok else '')
PY
}
selview_e2e() {
  start
  local win tools msg
  win=$(drawing_window)
  tools=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tools$' 2>/dev/null | head -n 1)
  msg=$(timeout 10 xdotool search --sync --onlyvisible --name '^Messages$' 2>/dev/null | head -n 1)
  [ -n "$msg" ] && xdotool windowmove --sync "$msg" 60 700 2>/dev/null
  if [ -z "$win" ] || [ -z "$tools" ]; then
    fail "select and view: no drawing window or tool palette"; kill -TERM "$app_pid"; wait_end; return
  fi
  # Waits (a few seconds at most) until the rectangles' boxes pass the test
  # of sv_boxes; the pointer rests away from them.
  boxes() {
    xdotool mousemove --window "$win" 800 560
    local i
    for i in $(seq 25); do
      xwd -silent -id "$win" >"$work/sv.xwd" 2>/dev/null
      sv_boxes "$work/sv.xwd" "$1" >"$work/sv.counts" && return 0
      sleep 0.2
    done
    echo "e2e: dark, coloured pixels of both boxes: $(cat "$work/sv.counts")" >&2
    return 1
  }
  # The rectangle tool, two rectangles of two clicks each, Q.
  xdotool mousemove --window "$tools" 13 65 click 1
  sleep 0.3
  local p
  for p in "300 250" "400 330" "550 250" "650 330"; do
    set -- $p
    xdotool mousemove --window "$win" "$1" "$2"
    sleep 0.1
    xdotool click 1
    sleep 0.2
  done
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key q
  # (The last one drawn is the current object, in the highlight colour.)
  if boxes "a1 > 200 and a2 + c2 > 200"; then pass "two rectangles drawn with the mouse show"
  else fail "select and view: the rectangles do not show"; kill -TERM "$app_pid"; wait_end; return; fi
  # Their top edges, as drawn (the corners snap to the increment).
  local e1 e2
  xwd -silent -id "$win" >"$work/sv.xwd"
  e1=$(find_marker "$work/sv.xwd" 350 250 8 line)
  e2=$(find_marker "$work/sv.xwd" 600 250 8 line)
  [ -n "$e1" ] && [ -n "$e2" ] || { fail "select and view: no top edges"; kill -TERM "$app_pid"; wait_end; return; }
  # (Each click waits out the double-click time before the next.)
  xdotool mousemove --window "$win" $e1 click 1
  if boxes "c1 > 200 and a1 < 50 and a2 > 200"; then pass "a click on a rectangle selects it"
  else fail "a click did not select the rectangle"; fi
  sleep 0.6
  xdotool mousemove --window "$win" $e2 keydown shift click 1 keyup shift
  if boxes "c2 > 200"; then pass "a shift-click selects the other into the group"
  else fail "a shift-click did not add the rectangle"; fi
  sleep 0.6
  xdotool mousemove --window "$win" $e1 keydown shift click 1 keyup shift
  if boxes "c1 > 200 and c2 > 200"; then pass "shift-clicks build a group of both"
  else fail "shift-clicks did not make a group of both"; fi
  sleep 0.6
  # A marquee around the second alone: the group becomes that one.
  xdotool mousemove --window "$win" 520 220 mousedown 1
  sleep 0.8  # held past the double-click time
  xdotool mousemove --window "$win" 600 300
  sleep 0.1
  xdotool mousemove --window "$win" 680 360
  sleep 0.1
  xdotool mouseup 1
  if boxes "a1 > 200 and c2 > 200"; then pass "a marquee selects what it goes round"
  else fail "the marquee did not select the second rectangle alone"; fi
  sleep 0.5
  # Zoom in on the first: a double click on the second window button, then
  # the rectangle's corners.
  local ww wh before r
  eval "$(xdotool getwindowgeometry --shell "$win")"
  ww=$WIDTH wh=$HEIGHT
  before=$(xwd -silent -id "$win" 2>/dev/null | md5sum)
  xdotool mousemove --window "$win" 23 $((wh - 7)) click --repeat 2 --delay 40 1
  sleep 0.5
  xdotool mousemove --window "$win" 280 230
  sleep 0.1
  xdotool click 1
  sleep 0.2
  xdotool mousemove --window "$win" 350 290
  sleep 0.1
  xdotool mousemove --window "$win" 420 350
  sleep 0.1
  xdotool click 1
  changed() {
    local i
    for i in $(seq 150); do
      [ "$(xwd -silent -id "$win" 2>/dev/null | md5sum)" != "$before" ] && return 0
      sleep 0.1
    done
    return 1
  }
  changed || fail "zoom in: the window did not change"
  save_as "$win" "$work/sv-in" native
  r=$(sv_view_check "$work/sv-in.drw" in 2>>"$work/sv.log")
  if [ -n "$r" ]; then pass "zoom in on a rectangle shows it alone"; else fail "zoom in: $(tail -1 "$work/sv.log")"; fi
  # One step out: twice as wide about the same middle.
  before=$(xwd -silent -id "$win" 2>/dev/null | md5sum)
  xdotool mousemove --window "$win" 38 $((wh - 7)) click 1
  changed || fail "zoom out: the window did not change"
  save_as "$win" "$work/sv-out" native
  local r2
  r2=$(sv_view_check "$work/sv-out.drw" out ${r:-1 0} 2>>"$work/sv.log")
  if [ -n "$r" ] && [ -n "$r2" ]; then pass "zoom out doubles the view"; else fail "zoom out: $(tail -1 "$work/sv.log")"; fi
  # The whole drawing.
  before=$(xwd -silent -id "$win" 2>/dev/null | md5sum)
  xdotool mousemove --window "$win" 53 $((wh - 7)) click 1
  changed || fail "full view: the window did not change"
  save_as "$win" "$work/sv-full" native
  if [ -n "$(sv_view_check "$work/sv-full.drw" full 2>>"$work/sv.log")" ]; then
    pass "the full view fits both rectangles"
  else fail "full view: $(tail -1 "$work/sv.log")"; fi
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --clearmodifiers ctrl+q
  wait_end
  [ "$status" -eq 0 ] || { fail "select and view: the session ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
}
selview_e2e
# ---- end of selecting and viewing ----

# ---- Symbol editing (the details of a library symbol) ----
# With double clicks told by the Alt key (preference DoubleClickMode 1), an
# Alt+click on slot 4 of Archlib1 opens Symbol Setup; Details shows the door
# alone, N typed three times takes its first three pieces out of the symbol
# drawn without details, Done in the Add or Remove window saves that, and Done
# closes Symbol Setup. In the library those three pieces have lost word 0
# bit 8; every other byte is as it was.
symbol_edit_e2e() {
  local conf="$XDG_CONFIG_HOME/Dravelin/Dravelin.conf" archlib="$XDG_DATA_HOME/Dravelin/Archlib1"
  python3 - "$conf" <<'PY'
import sys, re
p = sys.argv[1]
try:
    t = open(p).read()
except OSError:
    t = ""
if re.search(r"^DoubleClickMode=", t, re.M):
    t = re.sub(r"^DoubleClickMode=.*$", "DoubleClickMode=1", t, flags=re.M)
elif "[General]" in t:
    t = t.replace("[General]\n", "[General]\nDoubleClickMode=1\n", 1)
else:
    t = "[General]\nDoubleClickMode=1\n" + t
open(p, "w").write(t)
PY
  cp "$archlib" "$work/Archlib1.before"
  start
  local win lib dlg setup addrm msg try
  win=$(drawing_window)
  [ -n "$win" ] || { fail "symbol editing: no drawing window"; kill -TERM "$app_pid"; wait_end; return; }
  open_archlib1 "$win" "symbol editing" || return
  sleep 0.5
  xdotool mousemove --window "$lib" 80 11 keydown alt click 1 keyup alt
  setup=$(timeout 10 xdotool search --sync --onlyvisible --name '^Symbol Setup$' 2>/dev/null | head -n 1)
  [ -n "$setup" ] || { fail "symbol editing: Alt+click showed no Symbol Setup"; kill -TERM "$app_pid"; wait_end; return; }
  pass "an Alt+click on a library slot opens Symbol Setup"
  sleep 0.5
  xdotool mousemove --window "$setup" 90 106 click 1
  addrm=$(timeout 10 xdotool search --sync --onlyvisible --name '^Add or Remove$' 2>/dev/null | head -n 1)
  [ -n "$addrm" ] || { fail "symbol editing: Details showed no Add or Remove window"; kill -TERM "$app_pid"; wait_end; return; }
  sleep 0.5
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool key n
    sleep 0.6
  done
  xdotool mousemove --window "$addrm" 230 24 click 1
  setup=$(timeout 10 xdotool search --sync --onlyvisible --name '^Symbol Setup$' 2>/dev/null | head -n 1)
  [ -n "$setup" ] && xdotool mousemove --window "$setup" 276 170 click 1
  sleep 0.8
  kill -TERM "$app_pid"
  wait_end
  [ "$status" -eq 0 ] || { fail "symbol editing: the session ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  local diff
  diff=$(python3 - "$work/Archlib1.before" "$archlib" <<'PY'
import sys
a = open(sys.argv[1], "rb").read()
b = bytearray(open(sys.argv[2], "rb").read())
ctrl = a[(3 + 4) * 128:(3 + 5) * 128]
first = int.from_bytes(ctrl[22:24], "big")
count = int.from_bytes(ctrl[24:26], "big")
objects = [first + i for i in range(count) if a[(first + i) * 128 + 1] & 31 == 12]
want = bytearray(a)
for n in objects[:3]:
    want[n * 128] &= 0xFE
print("same" if len(objects) >= 3 and len(a) == len(b) and b == want and a != b else "differs")
PY
)
  if [ "$diff" = "same" ]; then pass "Details: three pieces typed N lost their mark in the library, nothing else changed"
  else fail "symbol editing: the library after Details $diff from what was expected"; fi
  python3 - "$conf" <<'PY'
import sys, re
p = sys.argv[1]
t = open(p).read()
open(p, "w").write(re.sub(r"^DoubleClickMode=.*$", "DoubleClickMode=0", t, flags=re.M))
PY
}
symbol_edit_e2e
# ---- end of symbol editing ----

# ---- A timed double click on a library slot ----
# With double clicks told by time (DoubleClickMode 0): a click on slot 4 of
# Archlib1 and ESC place nothing; a real double click on the same slot then
# opens Symbol Setup, whose Details button still works (the Add or Remove
# window comes); ESC there leaves the library as it was.
symbol_dblclick_e2e() {
  local archlib="$XDG_DATA_HOME/Dravelin/Archlib1"
  cp "$archlib" "$work/Archlib1.dbl"
  start
  local win lib dlg setup addrm msg try
  win=$(drawing_window)
  [ -n "$win" ] || { fail "double click: no drawing window"; kill -TERM "$app_pid"; wait_end; return; }
  open_archlib1 "$win" "double click" || return
  sleep 0.5
  xdotool mousemove --window "$lib" 80 11 click 1
  sleep 0.8
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key Escape
  sleep 0.8
  xdotool mousemove --window "$lib" 80 11 click --repeat 2 --delay 80 1
  setup=$(timeout 10 xdotool search --sync --onlyvisible --name '^Symbol Setup$' 2>/dev/null | head -n 1)
  [ -n "$setup" ] || { fail "double click: a real double click showed no Symbol Setup"; kill -TERM "$app_pid"; wait_end; return; }
  pass "a real double click on a library slot opens Symbol Setup"
  sleep 0.5
  xdotool mousemove --window "$setup" 90 106 click 1
  addrm=$(timeout 10 xdotool search --sync --onlyvisible --name '^Add or Remove$' 2>/dev/null | head -n 1)
  if [ -n "$addrm" ]; then pass "after a pick that placed nothing, Details still edits the slot"
  else fail "double click: Details showed no Add or Remove window"; fi
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key Escape
  sleep 0.8
  setup=$(timeout 10 xdotool search --sync --onlyvisible --name '^Symbol Setup$' 2>/dev/null | head -n 1)
  [ -n "$setup" ] && xdotool mousemove --window "$setup" 276 170 click 1
  sleep 0.8
  kill -TERM "$app_pid"
  wait_end
  [ "$status" -eq 0 ] || { fail "double click: the session ended with $status"; kill -9 "$app_pid" 2>/dev/null; app_pid=; }
  if cmp -s "$work/Archlib1.dbl" "$archlib"; then pass "ESC in Details left the library as it was"
  else fail "double click: the library changed"; fi
}
symbol_dblclick_e2e
# ---- end of the timed double click ----

if [ "$failures" -ne 0 ]; then
  echo "e2e: $failures failed"
  exit 1
fi
echo "e2e: all passed"
