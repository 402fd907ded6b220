#!/usr/bin/env bash
# The fitter's whole job in a real window: roviro-dazo --simulate under an X server of its own,
# worked only through pointer and key events. First start (contact data), language, start;
# screen 1: a motor of the compact catalogue chosen, its data loaded from the simulated motor,
# a wheel notch over the list that changes nothing;
# Next through every settings screen of that catalogue; screen 6: saved as a file through the
# file dialog and written into the motor (after its question) with the read-back check; the
# motor test (its status line, the factory reset's question); the operating data; the window
# closed through its menu, the question answered no, then yes; a second start closed during a
# download, which ends the program within a second and without a box.
# Checks what the fitter sees: headings, result lines, message boxes, the file written, the
# program's end. Screenshots: <build>/screenshots/real-window-*.png.
# Usage: walk.sh BUILD_FOLDER
set -uo pipefail
BUILD=$(cd "${1:?usage: walk.sh BUILD_FOLDER}" && pwd)
SHOTS=$BUILD/screenshots
. "$(dirname "$0")/lib.sh"
need_x_tools
trap cleanup EXIT
make_folders
start_x 1280x1024

EN=$BUILD/LoaderDaten/Screen/English
common() { page_text "$EN/Screen000.dat" 3 "$1"; }
heading() { page_text "$EN/Screen0$1.dat" heading; }
TITLE=1016 LANGUAGE_EN=1007 START=1013 NEXT=1012
# Umlauts and blanks in folder and file name: the file must land under exactly this name.
FILE="$WORK/Baustelle Süd/Halle Süd.kxmc"
mkdir -p "$WORK/job" "$WORK/Baustelle Süd"

step "first start"
start_program --simulate --simulate-motor compact --program-dir "$PROGRAM" --data-dir "$DATA"
wait_window CDlgFirstStart
shot real-window-0-first-start
click_control 1022  # the company
xdotool type --delay 5 "Muster Rollladen GmbH"
click_button Speichern CDlgFirstStart
wait_no_window CDlgFirstStart
[ -n "$(find "$DATA" -name FS.xml -size +0)" ] || fail "the contact data were not saved below $DATA"

step "start view: English, start"
wait_window CVQZodavaRozeDlg
click_control $LANGUAGE_EN
wait_text $TITLE "$(page_text "$EN/Screen000.dat" heading)"
shot real-window-1-start-view
click_control $START
wait_text $TITLE "$(heading 01)"

step "screen 1: choose the compact motor, load from the motor"
# Another motor first, so that the choice of the compact one is seen to change the fields.
click_control 2801
click_item "^Comfort motor"
wait_no_window QComboBoxPrivateContainer
wait_text 2406 'Werkseinstellung Komfortmotor S58\nStand Oktober 2026'
click_control 2801
click_item "^Compact motor K35"
wait_no_window QComboBoxPrivateContainer
wait_text 2406 'Werkseinstellung Kompaktmotor K35\nStand Oktober 2026'
wait_text 2511 "$(page_text "$EN/Screen001.dat" 3 0) - Motor Firmware V5.3"
wait_text_start 2510 "ZodavaRoze ready on COM1 (/dev/"  # the device beside the logical name
# How long the download takes as the fitter sees it: from the click to the box that tells the
# result (the result line follows its OK). Printed, not judged: the protocol's floor for this
# download is 1029.8 ms, the goal 5 % over it plus one 200 ms tick of the progress timer. The
# report is rewritten every 50 ms and looked at every 10 ms here, which the figure includes.
xy=$(button_centre "$(page_text "$EN/Screen001.dat" 8 0)")
t0=$(date +%s%N)
# shellcheck disable=SC2086
click_at $xy
POLL_S=0.01 wait_window QMessageBox "$(common 3)"
step "download in the window: $(( ($(date +%s%N) - t0) / 1000000 )) ms from the click to the result (floor 1029.8 ms, goal <= 1281 ms)"
# The motor has site and motor no. 0/0: the box adds, once per run, that backups and history
# cannot tell it from other motors of its type with 0/0.
shared_key_notice='Site no. and motor no. are both 0: backups and history cannot tell this motor from other motors of its type with 0/0.'
answer_box "$(common 3)" "$(common 6)\n\n$shared_key_notice"
wait_text 2511 "$(page_text "$EN/Screen001.dat" 3 3) - Motor Firmware V5.3"
# The simulated motor is a compact one: its type stays chosen.
[[ "$(control_text 2801)" == "Compact motor K35"* ]] || fail "motor type after loading: $(control_text 2801)"
# The set is filed under the motor's name, which the fitter types.
click_control 2401
xdotool type --delay 5 "Halle 3, Tor 1"
wait_text 2401 "Halle 3, Tor 1"
shot real-window-2-loaded
# A wheel notch over the motor list, which has not been clicked, changes nothing.
# shellcheck disable=SC2046
xdotool mousemove $(control_centre 2801) click 5
sleep 0.3
[[ "$(control_text 2801)" == "Compact motor K35"* ]] || fail "the wheel changed the motor type: $(control_text 2801)"
wait_text 2401 "Halle 3, Tor 1"

step "settings screens, following Next"
screens=""
for id in 10 11; do
  click_control $NEXT
  wait_text $TITLE "$(heading $id)"
  screens+=" $id"
  shot "real-window-3-settings-$id"
done
click_control $NEXT
wait_text $TITLE "$(heading 06)"

step "screen 6: save as a file, write into the motor"
click_button "$(page_text "$EN/Screen006.dat" 2 0)"
wait_window QFileDialog
sleep 0.1
# The file name field has the focus. The name is typed again should the field not hold it.
for attempt in 1 2 3; do
  xdotool key ctrl+a
  xdotool type --delay 5 "$FILE"
  (WAIT_S=3 wait_awk "the typed path" '$1=="control" && $2=="QLineEdit" && $10==want { print }' \
    -v want="$FILE") >/dev/null 2>&1 && break
  echo "the name field does not hold the name after attempt $attempt" >&2
  [ $attempt -lt 3 ] || fail "the file dialog's name field does not hold $FILE"
done
shot real-window-4-file-dialog
xdotool key Return
wait_no_window QFileDialog
answer_box "$(common 1)" "$(common 19)"
wait_text 2505 "$(page_text "$EN/Screen006.dat" 3 6)"
[ -s "$FILE" ] || fail "no parameter file $FILE"
"$BUILD/roviro-cli" show "$FILE" >"$WORK/show.txt" 2>&1 || fail "roviro-cli show: $(cat "$WORK/show.txt")"
grep -q "^Motor name: *Halle 3, Tor 1$" "$WORK/show.txt" &&
  grep -q "^Catalogue motor: *Kompaktmotor K35" "$WORK/show.txt" ||
  fail "the saved file is not the compact motor's set named Halle 3, Tor 1: $(cat "$WORK/show.txt")"
# With the read-back check.
click_button "$(page_text "$EN/Screen006.dat" 8 0)"
click_button "$(page_text "$EN/Screen006.dat" 4 0)"
# The question names the motor's type and name; No is its default.
answer_box Warning "" Yes
answer_box "Ok..." "$(page_text "$EN/Screen006.dat" 5 2)\n\n$(page_text "$EN/Screen006.dat" 8 2)"
wait_text 2505 "$(page_text "$EN/Screen006.dat" 8 2)"
shot real-window-5-saved-and-written

step "screen 7: motor test"
click_control $NEXT
wait_text $TITLE "$(heading 07)"
wait_text 2503 "$(page_text "$EN/Screen007.dat" 9 2 | sed 's/%s/1/')"
click_button "$(page_text "$EN/Screen007.dat" 6 0)"
wait_window QMessageBox Warning
shot real-window-6-question
answer_box Warning "" Yes
wait_window QMessageBox
shot real-window-6-test
answer_box "" "Motor has finished the factory reset."

step "screen 8: operating data"
click_control $NEXT
wait_text $TITLE "$(heading 08)"
wait_text 2505 "1 d, 1 h, 1 min, 1 s - Motor Firmware V5.3"
wait_text 2506 7
wait_text 2507 3
item_centre "^9 \\| 0x01 \\| $(page_text "$EN/Screen008.dat" 3 2 | cut -c9-)" >/dev/null
shot real-window-7-operating-data

step "close through the window menu: no, then yes"
close_window No
wait_text $TITLE "$(heading 08)"
close_window Yes last
wait_program_end

step "second start: no contact question, the start view in English"
start_program --simulate --simulate-motor compact --program-dir "$PROGRAM" --data-dir "$DATA"
wait_window CVQZodavaRozeDlg
wait_text $TITLE "$(page_text "$EN/Screen000.dat" heading)"
report | grep -q CDlgFirstStart && fail "the first-start dialog came again"

step "closing during a download ends the program, without a box"
click_control $START
wait_text $TITLE "$(heading 01)"
click_button "$(page_text "$EN/Screen001.dat" 8 0)"
close_window Yes last
t0=$(date +%s%N)
wait_program_end
ms=$(( ($(date +%s%N) - t0) / 1000000 ))
step "the program ended ${ms} ms after the yes"
[ "$ms" -le 1000 ] || fail "the program took ${ms} ms to end after the close was confirmed"
step "done: settings screens$screens, file $(stat -c %s "$FILE") bytes"
