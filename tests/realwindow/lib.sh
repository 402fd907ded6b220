# Helpers for driving roviro-dazo in a real X server (Xvfb) with real input (xdotool). The
# program tells what its windows show through ROVIRO_WINDOW_REPORT (app/WindowReport.h): one
# tab-separated line per window, control and list row, with screen positions. Everything here
# only reads that file; every action is a pointer or key event sent to the X server.
# Source it with BUILD set to the build folder.

# 77 tells CTest the test was skipped (SKIP_RETURN_CODE).
need_x_tools() {
  if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed (scripts/deps installs xvfb)"
    exit 77
  fi
  local tool
  for tool in xdotool import; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps installs xdotool and imagemagick)"
  done
}

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${REPORT:-}" ] && [ -s "$REPORT" ]; then
    echo "--- what the windows showed last:" >&2
    cat "$REPORT" >&2
  fi
  if [ -n "${WORK:-}" ] && [ -s "$WORK/program.log" ]; then
    echo "--- the program's output:" >&2
    cat "$WORK/program.log" >&2
  fi
  exit 1
}

step() { echo "[$(elapsed)] $*"; }
elapsed() { echo "$(( ($(date +%s%N) - T0) / 1000000 )) ms"; }
T0=$(date +%s%N)

# A scratch folder with a program folder (the built pages, pictures and catalogues linked in),
# an empty shared data folder and a home of its own, so that nothing of the user's is read or
# written: $WORK, $PROGRAM, $DATA.
make_folders() {
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/roviro-realwindow.XXXXXX")
  PROGRAM=$WORK/program
  DATA=$WORK/data
  mkdir -p "$PROGRAM/LoaderDaten" "$DATA" "$WORK/home" "$WORK/runtime"
  chmod 700 "$WORK/runtime"
  ln -s "$BUILD/LoaderDaten/Screen" "$PROGRAM/LoaderDaten/Screen"
  ln -s "$BUILD/LoaderDaten/Config" "$PROGRAM/LoaderDaten/Config"
  ln -s "$BUILD/icons" "$PROGRAM/icons"
  ln -s "$BUILD/translations" "$PROGRAM/translations"
  export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_DATA_HOME=$WORK/home/.local/share
  export XDG_CACHE_HOME=$WORK/home/.cache XDG_RUNTIME_DIR=$WORK/runtime
  unset QT_QPA_PLATFORMTHEME SESSION_MANAGER
  # Before a language is chosen the window speaks the desktop's: German, whatever this machine
  # speaks.
  unset LC_ALL LC_MESSAGES
  export LANG=C.UTF-8
  export QT_QPA_PLATFORM=xcb
}

XVFB_PID=
PROGRAM_PID=
cleanup() {
  [ -n "$PROGRAM_PID" ] && kill "$PROGRAM_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  [ -n "${WORK:-}" ] && rm -rf "$WORK"
}

# Starts an X server of its own on a free display and exports DISPLAY. $1: the screen size.
start_x() {
  local size=${1:-1280x1024}
  local fifo=$WORK/display
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fifo" \
    >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=:$number
  # A German keyboard: its umlauts have keys of their own. On the default US map xdotool types
  # a character without a key by remapping a spare key for a moment, and the program, reading
  # the map later, now and then receives that key without its character.
  setxkbmap de || fail "setxkbmap de failed"
}

# Starts the program with the window report; arguments go to the program.
start_program() {
  REPORT=$WORK/report
  ROVIRO_WINDOW_REPORT=$REPORT "$BUILD/roviro-dazo" "$@" >"$WORK/program.log" 2>&1 &
  PROGRAM_PID=$!
}

# ---- reading the report ----

# The report's lines now (empty before the first one was written).
report() { cat "$REPORT" 2>/dev/null || true; }

# Runs the awk program $2 over the report until it prints something (printed then), for at
# most $WAIT_S seconds, looking every $POLL_S seconds; fails with $1 otherwise.
WAIT_S=${WAIT_S:-15}
POLL_S=${POLL_S:-0.05}
wait_awk() {
  local what=$1 program=$2
  shift 2
  local end=$((SECONDS + WAIT_S)) out
  while :; do
    out=$(report | awk -F'\t' "$@" "$program")
    if [ -n "$out" ]; then
      printf '%s\n' "$out"
      return 0
    fi
    if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
      wait "$PROGRAM_PID"
      fail "the program ended (exit status $?) while waiting for $what"
    fi
    [ $SECONDS -lt $end ] || fail "waited ${WAIT_S}s for $what"
    sleep "$POLL_S"
  done
}

# Awk prelude: `win` is the class of the window the line belongs to, `title` its title; `t`
# the text of a control or row without the "&" of keyboard shortcuts; cx, cy its centre.
AWK_LINE='$1=="window" { win=$2; title=$8; next }
  { t = ($1=="control") ? $10 : $8; gsub(/&/, "", t)
    cx = int($4 + $6 / 2); cy = int($5 + $7 / 2) }'

# The centre of the enabled control with ID $1, once there is one.
control_centre() {
  wait_awk "control $1, enabled" "$AWK_LINE"' $1=="control" && $3==id && $8==1 { print cx, cy; exit }' -v id="$1"
}

# The text of control $1 as it is now.
control_text() {
  report | awk -F'\t' -v id="$1" '$1=="control" && $3==id { print $10; exit }'
}

# Waits until control $1 shows exactly the text $2.
wait_text() {
  export WANT=$2  # awk -v would turn the "\n" of a text into a line break
  wait_awk "control $1 to show \"$2\" (it shows \"$(control_text "$1")\")" \
    '$1=="control" && $3==id && $10==ENVIRON["WANT"] { print "ok"; exit }' -v id="$1" >/dev/null
}

# Waits until control $1 shows a text that begins with $2.
wait_text_start() {
  export WANT=$2
  wait_awk "control $1 to begin with \"$2\" (it shows \"$(control_text "$1")\")" \
    '$1=="control" && $3==id && index($10, ENVIRON["WANT"])==1 { print "ok"; exit }' -v id="$1" >/dev/null
}

# The centre of the enabled button with the text $1 in a window of class $2 (a regular
# expression; default any window).
button_centre() {
  export WANT=$1
  wait_awk "button \"$1\"" "$AWK_LINE"' $1=="control" && $2 ~ /Button/ && $8==1 && t==ENVIRON["WANT"] &&
      win ~ wc { print cx, cy; exit }' -v wc="${2:-.}"
}

# The centre of the list row or menu entry whose text matches the regular expression $1.
item_centre() {
  wait_awk "a row matching \"$1\"" "$AWK_LINE"' $1=="item" && t ~ want { print cx, cy; exit }' -v want="$1"
}

# Waits for a window of class $1 (regular expression) whose title is $2 (any when empty).
wait_window() {
  wait_awk "a window $1 \"${2:-}\"" '$1=="window" && $2 ~ wc && (want=="" || $8==want) { print $3, $4; exit }' \
    -v wc="$1" -v want="${2:-}" >/dev/null
}

# Waits until no window of class $1 shows any more.
wait_no_window() {
  wait_awk "the window $1 to go" 'BEGIN { seen=0 } $1=="window" && $2 ~ wc { seen=1 }
    END { if (!seen) print "gone" }' -v wc="$1" >/dev/null
}

# ---- input ----

# The X server carries out the move and the click in this order. (No --sync: it waits for the
# pointer to move and so hangs when it is already there.)
click_at() {
  xdotool mousemove "$1" "$2" click 1
}

click_control() {
  local xy
  xy=$(control_centre "$1")
  # shellcheck disable=SC2086
  click_at $xy
}

click_button() {
  local xy
  xy=$(button_centre "$1" "${2:-.}")
  # shellcheck disable=SC2086
  click_at $xy
}

click_item() {
  local xy
  xy=$(item_centre "$1")
  # shellcheck disable=SC2086
  click_at $xy
}

# Waits for the message box titled $1, checks that it says $2 (when given), presses its
# button $3 (default OK) and waits until it has gone, unless $4 is "last" (the answer ends the
# program, which may leave no report without the box).
answer_box() {
  wait_window QMessageBox "$1"
  sleep 0.1  # mapped and drawn before the click arrives
  if [ -n "$2" ]; then
    local said
    said=$(report | awk -F'\t' -v want="$1" '$1=="window" { inbox = ($2=="QMessageBox" && $8==want); next }
      inbox && $1=="control" && $2=="QLabel" && $10 != "" { print $10; exit }')
    [ "$said" = "$2" ] || fail "the box \"$1\" says \"$said\", not \"$2\""
  fi
  click_button "${3:-OK}" QMessageBox
  [ "${4:-}" = last ] || wait_no_window QMessageBox
}

# Waits until the program has ended; fails unless its exit status is 0.
wait_program_end() {
  local end=$((SECONDS + WAIT_S)) rc
  while kill -0 "$PROGRAM_PID" 2>/dev/null; do
    [ $SECONDS -lt $end ] || fail "the program did not end"
    sleep 0.05
  done
  wait "$PROGRAM_PID"
  rc=$?
  PROGRAM_PID=
  [ $rc -eq 0 ] || fail "the program ended with exit status $rc"
}

# Closes the window through its menu (a right click on the heading, control 1016), as its
# close box does: the close question (caption and text from the English frame page $EN) is
# answered $1; with $2 "last" the answer ends the program.
close_window() {
  local xy
  xy=$(control_centre 1016)
  # shellcheck disable=SC2086
  xdotool mousemove $xy click 3
  click_item "^(Schließen|Close)$"
  answer_box "$(page_text "$EN/Screen000.dat" 3 2)" "$(page_text "$EN/Screen000.dat" 3 5)" "$1" ${2:-}
}

# ---- pages and pictures ----

# Line $3 (from 0) of the texts of object $2 of page file $1, as UTF-8; $2 "heading" gives the
# page's heading. Comments and empty lines do not count, as the program reads them.
page_text() {
  iconv -f ISO-8859-1 -t UTF-8 "$1" | awk -v obj="$2" -v n="${3:-0}" '
    { sub(/\r$/, ""); sub(/\/\/.*/, ""); sub(/[ \t]+$/, "") }
    /^[ \t]*$/ { next }
    /[][]/ { section = $0; i = 0; next }
    section == "[OBJEKT_NR]" { current = $0 + 0; next }
    section == "[UBERSCHRIFT]" && obj == "heading" { print; exit }
    section == "[TEXT]" && obj != "heading" && current == obj + 0 { if (i == n + 0) { print; exit } i++ }'
}

# The whole screen into build/screenshots/$1.png.
SHOTS=${SHOTS:-}
shot() {
  mkdir -p "$SHOTS"
  import -window root "$SHOTS/$1.png" || fail "cannot grab the screen into $SHOTS/$1.png"
}
