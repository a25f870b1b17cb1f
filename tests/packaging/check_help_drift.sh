#!/usr/bin/env bash
# The man pages and the bash completion must name every command, convert form
# and long option that the programs' --help texts name, and nothing that they
# do not, so that neither can drift from the programs.
# usage: check_help_drift.sh KESTROVANE_CLI KESTROVANE PACKAGING_DIR
set -euo pipefail
cli="$1"
gui="$2"
packaging="$3"
mandir="$packaging/man"
status=0

options() { grep -oE -- '--[a-z][a-z0-9-]*' | sort -u; }
# Long options of a roff page: roff writes a minus as \-.
man_options() { sed 's/\\-/-/g' "$1" | options; }
# Names listed under a heading such as "commands:" in a --help text.
listed() { awk -v head="$1" '$0 == head {on = 1; next} on && /^$/ {exit} on {print $1}'; }

compare() { # what, expected (from --help), found (in the page)
  local missing extra
  missing=$(comm -23 <(echo "$2") <(echo "$3"))
  extra=$(comm -13 <(echo "$2") <(echo "$3"))
  if [ -n "$missing" ]; then
    echo "$1: in --help but not in the man page:" $missing
    status=1
  fi
  if [ -n "$extra" ]; then
    echo "$1: in the man page but in no --help:" $extra
    status=1
  fi
}

top=$("$cli" --help)
commands=$(echo "$top" | listed "commands:" | sort -u)
forms=$("$cli" convert --help | listed "forms:" | sort -u)
help_text="$top"
for c in $commands; do
  help_text+=$'\n'$("$cli" "$c" --help)
done
for f in $forms; do
  help_text+=$'\n'$("$cli" convert "$f" --help)
done
page="$mandir/kestrovane-cli.1"
compare "kestrovane-cli options" "$(echo "$help_text" | options)" "$(man_options "$page")"
compare "kestrovane-cli commands" "$commands" "$(sed -n 's/^\.SS //p' "$page" | sort -u)"
for f in $forms; do
  grep -q "^\.B $f\$" "$page" || { echo "kestrovane-cli: convert form $f is not in the man page"; status=1; }
done

completion="$packaging/completion/kestrovane-cli"
compare "kestrovane-cli completion options" "$(echo "$help_text" | options)" \
  "$(options < "$completion")"
compare "kestrovane-cli completion commands" "$commands" \
  "$(sed -n 's/^ *local commands="\(.*\)"/\1/p' "$completion" | tr ' ' '\n' | sort -u)"

compare "kestrovane options" "$("$gui" --help | options)" "$(man_options "$mandir/kestrovane.1")"
"$gui" --version | grep -qx "kestrovane $("$cli" --version | sed 's/^kestrovane-cli //')" ||
  { echo "the two programs print different versions"; status=1; }

if [ "$status" -eq 0 ]; then echo "man pages and completion match --help"; fi
exit "$status"
