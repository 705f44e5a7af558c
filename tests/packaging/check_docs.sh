#!/usr/bin/env bash
# The manual pages render without a warning, the completions complete, the desktop entry and
# the AppStream metainfo validate. Usage: check_docs.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1 source=$2
docs=$build/packaging
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for page in "$docs"/kestrova-cli.1 "$docs"/kestrova-videos.1; do
  [ -s "$page" ] || { fail "$page was not written"; continue; }
  warnings=$(groff -ww -man -z "$page" 2>&1) || fail "groff failed on $page"
  [ -z "$warnings" ] || fail "groff warns on $page: $warnings"
  rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>"$docs/man.err") || fail "man -l failed on $page"
  [ -s "$docs/man.err" ] && fail "man -l warns on $page: $(cat "$docs/man.err")"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES "SEE ALSO"; do
    grep -q "^$section" <<<"$rendered" || fail "$page has no $section"
  done
done
# Every command the usage lists is in the manual page with its arguments.
cli_man=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$docs/kestrova-cli.1" 2>/dev/null)
while read -r line; do
  grep -qF -- "$line" <<<"$cli_man" || fail "the manual page lacks \"$line\""
done < <("$build/cli/kestrova-cli" --help | sed -n 's/^  \([a-z]\+\( .*\)\?\)$/\1/p')

# Completion: what bash offers after the words typed so far.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/sub" && touch "$work/A.DBF" "$work/b.dbf" "$work/c.txt"
offered() {
  bash -c 'source "$1"; shift; cd "$1"; shift
           COMP_WORDS=("$@"); COMP_CWORD=$(( $# - 1 )); COMPREPLY=()
           _${COMP_WORDS[0]//-/_} 2>/dev/null; (( ${#COMPREPLY[@]} )) && printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' \
    _ "$docs/bash/$1" "$work" "$@"
}
expect() {
  local want=$1; shift
  local got; got=$(offered "$@")
  [ "$got" = "$want" ] || fail "completing \"$*\": got \"$got\", want \"$want\""
}
expect "list lists " kestrova-cli li
expect "--physical " kestrova-cli list A.DBF --p
expect "A.DBF b.dbf sub " kestrova-cli list ""
expect "auto cp1252 cp850 utf-8 " kestrova-cli import A.DBF in.txt --encoding ""
expect "Star1= Star2= Star3= Star4= Star5= Star6= " kestrova-cli search A.DBF Sta
expect "sort " kestrova-cli help so
expect "--version " kestrova-cli --v
expect "A.DBF b.dbf sub " kestrova-videos ""
expect "/BROWSE " kestrova-videos /B
expect "--help --version " kestrova-videos -
expect "" kestrova-cli labels A.DBF face --media ""
expect "A.DBF b.dbf c.txt sub " kestrova-cli report A.DBF Report --pdf ""
if command -v zsh >/dev/null; then
  for f in "$docs"/zsh/_kestrova-*; do zsh -n "$f" || fail "zsh cannot read $f"; done
fi

# Desktop entry and software-centre description.
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$source/resources/kestrova-videos.desktop" 2>&1) || fail "desktop entry: $out"
  [ -z "$out" ] || fail "desktop entry: $out"
fi
metainfo=$(ls "$build"/resources/*.metainfo.xml)
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "metainfo: $out"
grep -qE "^[EW]:" <<<"$out" && fail "metainfo: $out"
for shot in $(sed -n 's|.*<image>.*/\([^/]*\)</image>.*|\1|p' "$metainfo"); do
  [ -f "$source/docs/screenshots/$shot" ] || fail "metainfo names $shot, which is not in docs/screenshots"
done

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
