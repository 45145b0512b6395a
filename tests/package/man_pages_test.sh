#!/usr/bin/env bash
# Every subcommand and every long option that the programs' --help shows appears in their
# man pages, and those of orbistav-cli in its bash completion too.
#   man_pages_test.sh ORBISTAV_CLI ORBISTAV SHARE_DIR
set -euo pipefail
cli=$1
gui=$2
share=$3
fail=0
# The man page's text with groff's escapes taken out: \- is -, fonts go.
man_text() { sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$1"; }
options_of() { grep -o -- '--[a-z][a-z0-9-]*' | sort -u; }

cli_man=$(man_text "$share/man/orbistav-cli.1")
completion=$(cat "$share/bash-completion/orbistav-cli")
cli_help=$("$cli" --help)
subcommands=$(sed -n '/^Subcommands:/,$p' <<<"$cli_help" | awk 'NR > 1 && /^  [a-z]/ { print $1 }')
[ -n "$subcommands" ] || { echo "no subcommands in orbistav-cli --help"; exit 1; }
for option in $(options_of <<<"$cli_help"); do
  grep -q -- "$option" <<<"$cli_man" || { echo "orbistav-cli.1 lacks $option"; fail=1; }
done
for sub in $subcommands; do
  grep -q "^\.BI\? \"\?$sub\b" <<<"$cli_man" || { echo "orbistav-cli.1 lacks the subcommand $sub"; fail=1; }
  grep -q "\b$sub\b" <<<"$completion" || { echo "the completion lacks the subcommand $sub"; fail=1; }
  sub_help=$("$cli" "$sub" --help)
  for option in $(options_of <<<"$sub_help"); do
    grep -q -- "$option" <<<"$cli_man" || { echo "orbistav-cli.1 lacks $sub $option"; fail=1; }
    grep -q -- "$option" <<<"$completion" || { echo "the completion lacks $sub $option"; fail=1; }
  done
done

gui_man=$(man_text "$share/man/orbistav.1")
gui_help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$gui" --help)
for option in $(options_of <<<"$gui_help"); do
  grep -q -- "$option" <<<"$gui_man" || { echo "orbistav.1 lacks $option"; fail=1; }
done
exit $fail
