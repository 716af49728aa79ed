#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Drives the Windows window under Wine with the X server's mouse and keyboard
# against the in-process unit (the upload's bytes are the Wine guest test's).
# The prefix must be the script's own: it sets the prefix's DPI, and keys go
# to whichever window has the focus.
#   drive_window.sh WINE_RUN PREFIX WINE DEMO PROBE WORK use | dpi DPI...
set -euo pipefail

wine_run=$1 prefix=$2 wine=$3 demo=$4 probe=$5 work=$6 mode=$7
shift 7
run() { "$wine_run" "$prefix" "$wine" "$@"; }
fail() {
  echo "FAIL: $*" >&2
  for name in "${!control[@]}"; do echo "  $name at ${control[$name]}: ${text[$name]}" >&2; done
  exit 1
}
mkdir -p "$work"

declare -a window
declare -A control text
entry=0

boot() {  # with a display of the prefix's own, whatever DISPLAY says
  unset DISPLAY
  run cmd /c exit
  DISPLAY=$(cat "$prefix.display")
  export DISPLAY
}
boot

# Each control's place in twips from the client's top left: left top width height.
declare -A twips=(
  [Label2]="720 120 1215 255"   [pin]="1080 360 495 285"      [Label1]="720 840 1335 255"
  [Combo1]="720 1080 1455 315"  [aviso]="0 1395 2865 285"     [t_a_1]="360 1680 2055 2775"
  [t_e_m_1]="840 2280 975 285"  [Text1]="480 2760 1575 1095"  [b_e_1]="480 3960 1575 375"
  [ALARMA]="600 4560 1575 315"
)
pixels() { echo $(( ($1 * $2 + 720) / 1440 )); }

demo_pid=
close_demo() {
  [ -n "$demo_pid" ] || return 0
  xdotool key --clearmodifiers alt+F4 || true
  for _ in $(seq 100); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.2; done
  kill "$demo_pid" 2>/dev/null && fail "the window did not close on Alt+F4"
  wait "$demo_pid" || fail "the demo ended with status $?"
  demo_pid=
}
trap 'kill -9 $demo_pid 2>/dev/null || true' EXIT

start_demo() {
  run "$demo" >"$work/demo.out" 2>&1 &
  demo_pid=$!
  for _ in $(seq 300); do
    probe_controls && [ "${window[5]:-0}" = 1 ] && return 0  # shown, so built and placed
    sleep 0.2
  done
  fail "no window appeared"
}

# window=(x y width height dpi shown), entry=the open list's entry height,
# control[NAME]="left top right bottom visible" in client pixels, text[NAME].
probe_controls() {
  local lines name l t r b v rest
  lines=$(run "$probe" controls | tr -d '\r') || return 1
  control=() text=()
  while read -r name l t r b v rest; do
    case $name in
      window) window=($l $t $r $b $v $rest) ;;
      entry) entry=$l ;;
      *) control[$name]="$l $t $r $b $v" text[$name]=$rest ;;
    esac
  done <<<"$lines"
}

check_layout() {
  local dpi=$1 name l t w h expected
  [ "${window[4]}" = "$dpi" ] || fail "the window runs at ${window[4]} dpi, not $dpi"
  [ "${window[2]} ${window[3]}" = "$(pixels 2865 "$dpi") $(pixels 5070 "$dpi")" ] ||
    fail "client area ${window[2]}x${window[3]} at $dpi dpi"
  for name in "${!twips[@]}"; do
    read -r l t w h <<<"${twips[$name]}"
    expected="$(pixels "$l" "$dpi") $(pixels "$t" "$dpi") $(( $(pixels "$l" "$dpi") + $(pixels "$w" "$dpi") ))"
    expected+=" $(( $(pixels "$t" "$dpi") + $(pixels "$h" "$dpi") ))"
    [ "${control[$name]% *}" = "$expected" ] || fail "$name at ${control[$name]% *}, not $expected, at $dpi dpi"
  done
}

click() {  # NAME [X Y]: from its left and top, else its middle
  local name=$1 l t r b v
  read -r l t r b v <<<"${control[$name]}"
  xdotool mousemove --sync $(( window[0] + ${2:-$(( (r - l) / 2 ))} + l )) \
                            $(( window[1] + ${3:-$(( (b - t) / 2 ))} + t )) click 1
}

await_text() {
  for _ in $(seq 300); do
    probe_controls && [ "${text[$1]}" = "$2" ] && return 0
    sleep 0.2
  done
  fail "$1 shows \"${text[$1]}\", not \"$2\""
}

set_dpi() {
  # Where Wine's settings dialog puts it, and where its fonts read it; read
  # when the server starts.
  for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    run reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  done
  WINEPREFIX=$prefix "${wine}server" -k
  WINEPREFIX=$prefix "${wine}server" -w
  boot
}

case $mode in
use)
  set_dpi 96
  start_demo
  check_layout 96
  for shown in "ALARMA Zona 1" "Combo1 MOVISTAR" "pin pin" "t_e_m_1 Tlf env." "Text1 Texto a enviar" \
               "t_a_1 Zona Alarma 1" "b_e_1 Env. Config. Zona 1"; do
    [ "${text[${shown%% *}]}" = "${shown#* }" ] || fail "${shown%% *} shows \"${text[${shown%% *}]}\" at start"
  done

  # Zona 2 from the open list: its arrow, then its second entry.
  read -r l t r b v <<<"${control[ALARMA]}"
  click ALARMA $(( r - l - 6 ))
  sleep 1
  xdotool mousemove --sync $(( window[0] + l + 20 )) $(( window[1] + b + entry * 3 / 2 + 1 )) click 1
  await_text t_e_m_1 611222333
  [ "${text[Text1]}" = "Alarma: ventana del salón" ] || fail "zone 2's text: ${text[Text1]}"
  [ "${text[Combo1]}" = YOIGO ] || fail "the unit's operator: ${text[Combo1]}"
  [ "${text[b_e_1]}" = "Env. Config. Zona 2" ] || fail "the button: ${text[b_e_1]}"

  # A new PIN and phone over what the boxes hold (Ctrl+A), then send.
  click pin
  xdotool key --clearmodifiers ctrl+a && xdotool type --delay 50 4321
  click t_e_m_1
  xdotool key --clearmodifiers ctrl+a && xdotool type --delay 50 699000111
  await_text t_e_m_1 699000111
  click b_e_1
  await_text aviso "Configuración enviada"
  [ "${control[aviso]##* }" = 1 ] || fail "the notice is not shown"
  [ "${text[pin]}" = 4321 ] || fail "the PIN box shows ${text[pin]} after Ctrl+A and 4321"
  close_demo
  ;;
dpi)
  for dpi in "$@"; do
    set_dpi "$dpi"
    start_demo
    check_layout "$dpi"
    close_demo
    echo "layout at $dpi dpi as drawn"
  done
  ;;
*) fail "unknown mode $mode" ;;
esac
echo "passed"
