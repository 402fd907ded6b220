#!/usr/bin/env bash
# Screen 1 in a real window at 200 % (QT_SCALE_FACTOR=2) and at 100 %, saved as
# <build>/screenshots/scale-200-screen1.png and scale-100-screen1.png (the window alone), with
# the first-start dialog and the start view at 200 % beside them. Checks that the window is
# twice as large at 200 % and that every control lies inside it.
# Usage: scale.sh BUILD_FOLDER
set -uo pipefail
BUILD=$(cd "${1:?usage: scale.sh BUILD_FOLDER}" && pwd)
SHOTS=$BUILD/screenshots
. "$(dirname "$0")/lib.sh"
need_x_tools
trap cleanup EXIT
make_folders
start_x 2048x1536

EN=$BUILD/LoaderDaten/Screen/English
TITLE=1016

# Saves the window of class $1 alone as $SHOTS/$2.png and checks that it is $3 pixels and
# holds every control it shows.
window_shot() {
  local geometry
  geometry=$(wait_awk "the window $1" '$1=="window" && $2 ~ wc { print $5 "x" $6 "+" $3 "+" $4; exit }' -v wc="$1")
  [ "${geometry%%+*}" = "$3" ] || fail "the window $1 is ${geometry%%+*} pixels, not $3"
  report | awk -F'\t' -v wc="$1" '$1=="window" { inside = ($2 ~ wc); l=$3; t=$4; r=$3+$5; b=$4+$6; next }
    inside && $1=="control" && ($4 < l || $5 < t || $4+$6 > r || $5+$7 > b) { print; bad=1 }
    END { exit bad }' || fail "controls reach out of the window $1"
  mkdir -p "$SHOTS"
  import -window root -crop "$geometry" +repage "$SHOTS/$2.png" || fail "cannot grab $2"
}

for scale in 2 1; do
  percent=$((scale * 100))
  step "$percent %"
  export QT_SCALE_FACTOR=$scale
  start_program --simulate --program-dir "$PROGRAM" --data-dir "$DATA"
  if [ $scale = 2 ]; then
    wait_window CDlgFirstStart
    sleep 0.2  # drawn
    window_shot CDlgFirstStart scale-200-first-start $((500 * scale))x$((510 * scale))
    click_control 1022
    xdotool type --delay 5 "Muster Rollladen GmbH"
    click_button Speichern CDlgFirstStart
    wait_no_window CDlgFirstStart
    click_control 1007
    wait_text $TITLE "$(page_text "$EN/Screen000.dat" heading)"
    sleep 0.2
    window_shot CVQZodavaRozeDlg scale-200-start-view $((800 * scale))x$((600 * scale))
  fi
  click_control 1013
  wait_text $TITLE "$(page_text "$EN/Screen001.dat" heading)"
  wait_text_start 2510 "ZodavaRoze ready on COM1 (/dev/"  # the device beside the logical name
  # The pointer away from the buttons, so that none is drawn hovered.
  xdotool mousemove 0 0
  sleep 0.2
  window_shot CVQZodavaRozeDlg scale-$percent-screen1 $((800 * scale))x$((600 * scale))
  close_window Yes last
  wait_program_end
done
step "done: $SHOTS/scale-200-screen1.png, $SHOTS/scale-100-screen1.png"
