#!/usr/bin/env bash
# Pictures of the main window in its three button bar modes, taken under a virtual X
# server with a small sample catalogue in a throw-away home.
#   bash scripts/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
# Needs Xvfb, xwd and ImageMagick's convert (xvfb, x11-apps, imagemagick).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$top/build}
out=${2:-$top/docs/screenshots}
home=$(mktemp -d)
trap 'kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_CONFIG_HOME/kestrova-videos" "$XDG_DATA_HOME/kestrova-videos" "$out" "$XDG_RUNTIME_DIR"
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
for mode in 1 2 3; do
  printf '[Misc]\r\nButton Bar=%s\r\nShow Tips=No\r\nMain Window Left=0\r\nMain Window Top=0\r\n' "$mode" \
    > "$XDG_CONFIG_HOME/kestrova-videos/QVRVID.INI"
  DISPLAY=$display "$build/app/kestrova-videos" &
  app=$!
  sleep 3
  DISPLAY=$display xwd -root -silent | convert xwd:- -crop 640x480+0+0 "$out/main-${names[$mode]}.png"
  kill "$app"
  wait "$app" 2>/dev/null || true
done
echo "written to $out"
