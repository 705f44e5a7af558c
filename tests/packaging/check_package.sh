#!/usr/bin/env bash
# The Debian package: made by CPack from this build tree, it depends on the Debian packages
# of the libraries the programs link, holds every delivered file and nothing else, and its
# programs start from a scratch root. Usage: check_package.sh BUILD_DIR VERSION
set -uo pipefail
build=$1 version=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/out/kestrova-videos_"$version"_*.deb 2>/dev/null)
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no kestrova-videos_${version}_*.deb"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6; do
  tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qxF "$lib" || fail "Depends lacks $lib: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$')
for want in /usr/bin/kestrova-videos /usr/bin/kestrova-cli \
            /usr/share/applications/kestrova-videos.desktop \
            /usr/share/icons/hicolor/scalable/apps/kestrova-videos.svg \
            /usr/share/icons/hicolor/48x48/apps/kestrova-videos.png \
            /usr/share/icons/hicolor/64x64/apps/kestrova-videos.png \
            /usr/share/icons/hicolor/128x128/apps/kestrova-videos.png \
            /usr/share/kestrova-videos/help/index.html /usr/share/kestrova-videos/tips.txt \
            /usr/share/kestrova-videos/lists/STAR.LST \
            /usr/share/man/man1/kestrova-videos.1.gz /usr/share/man/man1/kestrova-cli.1.gz \
            /usr/share/bash-completion/completions/kestrova-cli \
            /usr/share/bash-completion/completions/kestrova-videos \
            /usr/share/zsh/vendor-completions/_kestrova-cli \
            /usr/share/zsh/vendor-completions/_kestrova-videos; do
  grep -qxF "$want" <<<"$files" || fail "the package lacks $want"
done
grep -q '^/usr/share/metainfo/.*\.metainfo\.xml$' <<<"$files" || fail "the package has no metainfo"
[ "$(grep -c '^/usr/share/kestrova-videos/lists/.*\.LST$' <<<"$files")" -eq \
  "$(ls "$(dirname "$0")/../../resources/lists/"*.LST | wc -l)" ] || fail "not every default list is packaged"
unexpected=$(grep -vE '^/usr/(bin/kestrova-(videos|cli)|share/(applications|icons|kestrova-videos|man/man1|bash-completion|zsh/vendor-completions|metainfo)/)' <<<"$files")
[ -z "$unexpected" ] || fail "the package holds files it should not: $unexpected"

# Installed into a scratch root, the programs start.
root=$work/root
dpkg -x "$deb" "$root" || fail "dpkg -x"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
[ "$("$root/usr/bin/kestrova-cli" --version)" = "kestrova-cli $version" ] || fail "kestrova-cli --version"
[ "$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/kestrova-videos" --version)" = "kestrova-videos $version" ] ||
  fail "kestrova-videos --version"
(cd "$work" && "$root/usr/bin/kestrova-cli" new "$work/FILMS.DBF" && "$root/usr/bin/kestrova-cli" check "$work/FILMS.DBF") ||
  fail "the packaged kestrova-cli cannot make a catalogue"
# The desktop program runs until stopped, having made its first catalogue.
QT_QPA_PLATFORM=offscreen timeout 8 "$root/usr/bin/kestrova-videos" "$work/FILMS.DBF" >"$work/gui.log" 2>&1
status=$?
[ "$status" -eq 124 ] || fail "the packaged kestrova-videos ended with $status: $(cat "$work/gui.log")"
[ -f "$XDG_DATA_HOME/kestrova-videos/MASTER.DBF" ] || fail "the packaged kestrova-videos made no MASTER.DBF"
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(zcat "$page" | groff -ww -man -z 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
done

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
