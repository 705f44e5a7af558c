#!/usr/bin/env bash
# Pictures of the main window at 640 x 480 in its three button bar modes, and of the
# edit window and the Reports window in the "Christmas Season" colours, taken under a
# virtual X server with a small sample catalogue in a throw-away home; then the
# pictures that the report window tests take.
#   bash scripts/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
# Needs Xvfb, xwd, xdotool and ImageMagick (xvfb, x11-apps, xdotool, imagemagick).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$top/build}
out=${2:-$top/docs/screenshots}
home=$(mktemp -d)
trap 'kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_CONFIG_HOME/kestrova-videos" "$XDG_DATA_HOME/kestrova-videos" "$out" "$XDG_RUNTIME_DIR"
out=$(cd "$out" && pwd)
build=$(cd "$build" && pwd)
chmod 700 "$XDG_RUNTIME_DIR"

db=$XDG_DATA_HOME/kestrova-videos/MASTER.DBF
cli=$build/cli/kestrova-cli
"$cli" new "$db"
"$cli" add "$db" Title=Casablanca "Star1=Humphrey Bogart" "Star2=Ingrid Bergman" Year=1942 RunTime=102 Rating=PG Category=Drama Format=VHS
"$cli" add "$db" "Title=Rear Window" "Star1=James Stewart" "Star2=Grace Kelly" Year=1954 RunTime=112 Rating=PG Category=Mystery Format=VHS
"$cli" add "$db" "Title=The Third Man" "Star1=Joseph Cotten" "Star2=Orson Welles" Year=1949 RunTime=104 Rating=NR Category=Thriller "Format=Laser Disc"
"$cli" add "$db" "Title=Brazil" "Star1=Jonathan Pryce" "Star2=Robert De Niro" Year=1985 RunTime=132 Rating=R Category=Comedy Format=VHS
"$cli" add "$db" "Title=Vertigo" "Star1=James Stewart" "Star2=Kim Novak" Year=1958 RunTime=128 Rating=PG Category=Mystery Format=DVD

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
names=("" speed-buttons lettered-buttons no-buttons)
settings() {
  printf '[Misc]\r\nButton Bar=%s\r\nShow Tips=No\r\nMain Window Left=0\r\nMain Window Top=0\r\n' "$1" \
    > "$XDG_CONFIG_HOME/kestrova-videos/QVRVID.INI"
}
start() {
  DISPLAY=$display "$build/app/kestrova-videos" &
  app=$!
  sleep 3
}
stop() {
  kill "$app"
  wait "$app" 2>/dev/null || true
}
# The window of that caption, once it shows.
window() {
  local id=
  for _ in $(seq 50); do
    id=$(DISPLAY=$display xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "no window \"$1\"" >&2; return 1; }
  echo "$id"
}
keys() {
  DISPLAY=$display xdotool windowfocus --sync "$(window "$1")" key "${@:2}"
}
shoot() {
  sleep 1
  DISPLAY=$display import -window "$(window "$1")" "$out/$2"
}

for mode in 1 2 3; do
  settings "$mode"
  start
  DISPLAY=$display xwd -root -silent | convert xwd:- -crop 640x480+0+0 "$out/main-${names[$mode]}.png"
  stop
done

# "Christmas Season" as the Color Configuration dialog sets it, for the edit window and
# the report windows: green face, white titles, red boxes with white text.
green=65280 white=16777215 red=255
{
  for family in "Edit Window Color" "Report Window Color"; do
    printf '[%s]\r\n' "$family"
    printf 'Main Background=%s\r\nMajor Title=%s\r\nMinor Title=%s\r\n' $green $white $red
    printf 'Edit Background=%s\r\nEdit Text=%s\r\nCombo Background=%s\r\nCombo Text=%s\r\n' $red $white $red $white
    printf 'List Box Background=%s\r\nList Box Text=%s\r\n' $red $white
    printf 'Radio Background=%s\r\nRadio Text=%s\r\nCheck Background=%s\r\nCheck Text=%s\r\n' $green $red $green $red
  done
} > "${db%.DBF}.INI"
settings 2
start
keys '^Kestrova Videos 97' ctrl+e
shoot '^Edit$' edit-christmas-season.png
keys '^Edit$' alt+x
keys '^Kestrova Videos 97' ctrl+r
shoot '^Reports$' reports-christmas-season.png
stop

# The pictures the window tests take offscreen (Reports, status, preview, label and
# printer windows), when they are built.
for t in tests/reports/ui/test_reports_ui tests/app/ui/test_ui; do
  [ -x "$build/$t" ] || { echo "not built, pictures skipped: $t" >&2; continue; }
  filter='*'
  [ "$t" = tests/app/ui/test_ui ] && filter='PreviewLook.*'
  QT_QPA_PLATFORM=offscreen KV_SCREENSHOT_DIR=$out "$build/$t" --gtest_filter="$filter" >/dev/null
done
echo "written to $out"
