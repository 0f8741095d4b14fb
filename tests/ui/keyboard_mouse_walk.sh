#!/usr/bin/env bash
# The window driven as a user drives it, on a virtual X screen with real key presses and mouse
# clicks (xdotool): the example file opened from the command line, three scores typed, two undone,
# a 4 x 4 block copied (the clipboard read back with xclip) and pasted elsewhere, the DataMatrix
# saved and loaded again, the session saved as a script. The saved file must hold exactly the
# edits (the same edits made by a script write it byte for byte), and the session's script
# replayed headless must write the same file again.
# Usage: keyboard_mouse_walk.sh PROGRAM SOURCE_DIR WORK_DIR
set -euo pipefail
program=$1 source=$2 work=$3

for tool in xvfb-run xdotool xclip; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIPPED: $tool is not installed (Debian: xvfb xdotool xclip), so the window is not walked with real events"
    exit 0
  fi
done

if [ -z "${VORN_WALK_DISPLAY:-}" ]; then
  # A screen of our own; the walk below runs again inside it.
  rm -rf "$work" && mkdir -p "$work"
  exec env VORN_WALK_DISPLAY=1 timeout 55 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

cd "$work"
cp "$source/examples/sedge_aflp.txt" data.txt
# The window's settings (recent files, geometry) stay in this folder, and Qt's own file dialogs
# are used whatever the desktop.
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORMTHEME=generic
unset XDG_CURRENT_DESKTOP QT_QPA_PLATFORM

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# Waits (up to 10 s) for a visible window whose title matches, gives it the keyboard, prints its id.
# A search fails when a window it looks at goes away meanwhile (Qt's short-lived windows): it
# is tried again.
window() {
  local id="" deadline=$((SECONDS + 10))
  while [ -z "$id" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no window \"$1\""
    id=$(timeout 10 xdotool search --sync --onlyvisible --name "$1" 2> /dev/null | head -1) || id=""
  done
  xdotool windowfocus --sync "$id" 2> /dev/null || xdotool windowfocus "$id"
  echo "$id"
}
# Waits (up to 10 s) until no visible window's title matches.
gone() {
  local tries=0
  while xdotool search --onlyvisible --name "$1" > /dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 200 ] || fail "the window \"$1\" stays open"
    sleep 0.05
  done
}
keys() { xdotool key --clearmodifiers --delay 20 "$@"; }
# A name typed in Qt's file dialog, which opens with its name field focused.
choose_file() {
  window "$1" > /dev/null
  keys ctrl+a
  xdotool type --delay 5 "$2"
  keys Return
  gone "$1"
}
accept_layout() {
  window "^File Parameter Selection$" > /dev/null
  keys Return
  gone "^File Parameter Selection$"
}

"$program" --seed 7 data.txt > program.log 2>&1 &
pid=$!
trap 'kill "$pid" 2> /dev/null || true' EXIT
accept_layout
main=$(window "^Vorn - Marbleton")

# A click puts the keyboard in the grid; Ctrl+Home goes to Ka01 at Locus1.
xdotool mousemove --window "$main" 400 400 click 1
keys ctrl+Home 1 Down 0 Down question
keys ctrl+z ctrl+z
keys ctrl+Home shift+Right shift+Right shift+Right shift+Down shift+Down shift+Down ctrl+c
# Ka01 at Locus1 keeps the one edit not undone (0 -> 1); Ka02 and Ka03 are back as loaded.
expected=$(printf '\tLocus1\tLocus2\tLocus3\tLocus4\nKa01\t1\t1\t0\t0\nKa02\t1\t1\t1\t0\nKa03\t0\t?\t1\t1\nKa04\t0\t1\t0\t0')
copied=""
for _ in $(seq 100); do
  copied=$(xclip -o -selection clipboard 2> /dev/null || true)
  [ "$copied" = "$expected" ] && break
  sleep 0.05
done
[ "$copied" = "$expected" ] || fail "the clipboard holds $(printf '%q' "$copied"), not $(printf '%q' "$expected")"

# Pasted at Mo01 (the 21st individual) from Locus11 on.
keys ctrl+Home
for _ in $(seq 20); do keys Down; done
for _ in $(seq 10); do keys Right; done
keys ctrl+v
keys ctrl+s
choose_file "^Save As$" "$work/edited.txt"
accept_layout
# Without a window manager the keyboard goes back to the main window only when given to it.
window "^Vorn - Marbleton" > /dev/null
keys ctrl+o
choose_file "^Open$" "$work/edited.txt"
accept_layout
# File > Save Session as Script by its accelerators.
window "^Vorn - Marbleton" > /dev/null
keys alt+f v
choose_file "^Save Session as Script$" "$work/session.vorn"
for _ in $(seq 100); do
  grep -q "Session saved as script" program.log 2> /dev/null && break
  [ -s session.vorn ] && break
  sleep 0.05
done
window "^Vorn - Marbleton" > /dev/null
keys ctrl+q
wait "$pid" || true
trap - EXIT

[ -s edited.txt ] || fail "File > Save DataMatrix wrote no edited.txt"
[ -s session.vorn ] || fail "File > Save Session as Script wrote no session.vorn"

# The same edits made by a script: the file must be the same, byte for byte.
mkdir -p by_script
cat > by_script/edits.vorn << EOF
File > Load
    file: $work/data.txt
Edit > Set Scores
    Set Scores: individuals=Ka01, loci=Locus1, scores=1
Edit > Set Scores
    Set Scores: individuals=Mo01|Mo02|Mo03|Mo04, loci=Locus11|Locus12|Locus13|Locus14, scores=1100|1110|0?11|0100
File > Save DataMatrix
    file: $work/by_script/edited.txt
EOF
(cd by_script && "$program" --script edits.vorn > transcript.txt) || fail "the script of the edits failed: $(cat by_script/transcript.txt)"
cmp edited.txt by_script/edited.txt || fail "edited.txt does not hold exactly the edits (see by_script/edited.txt)"

# The session replayed headless writes edited.txt again: the same bytes.
mv edited.txt edited_in_window.txt
seed=$(sed -n 's/.*--seed \([0-9]*\).*/\1/p' session.vorn | head -1)
"$program" --script session.vorn --seed "$seed" > replay.txt 2>&1 || fail "the replay failed: $(cat replay.txt)"
cmp edited_in_window.txt edited.txt || fail "the replayed session wrote another edited.txt"
echo "The walk saved exactly the edits, and the replayed session wrote the same file"
