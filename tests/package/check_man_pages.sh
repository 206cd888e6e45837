#!/usr/bin/env bash
# The manual pages: each formats without a single groff warning, and tarnwick-cfg(1) documents
# exactly the commands and options that the tool's own --help lists - a command or option added
# to the tool but not to the page, or left in the page after it went from the tool, fails.
# Usage: check_man_pages.sh PATH_TO_TARNWICK_CFG MAN_PAGE...   (the first page is tarnwick-cfg.1)
set -euo pipefail
tool=$1
shift
pages=("$@")
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

page_text() {  # page -> roff source (a .gz page is decompressed)
  if [[ $1 == *.gz ]]; then gzip -dc "$1"; else cat "$1"; fi
}

# 1. groff reports nothing, with every warning category turned on.
for page in "${pages[@]}"; do
  warnings=$(page_text "$page" | groff -man -Tutf8 -ww -z 2>&1 || true)
  [[ -z $warnings ]] || fail "$page: groff warnings:"$'\n'"$warnings"
  if command -v man >/dev/null; then
    warnings=$(page_text "$page" | MANPAGER=cat man --warnings=all -l - 2>&1 >/dev/null || true)
    [[ -z $warnings ]] || fail "$page: man -l warnings:"$'\n'"$warnings"
  fi
done

# 2. The rendered tarnwick-cfg page against the tool's help. Rendered as plain ASCII, one long
# line a paragraph: command entries of the COMMANDS section start in column 8, their options
# in column 15.
rendered=$(page_text "${pages[0]}" |
  groff -man -Tascii -P-cbou -rLL=400n -rHY=0 2>/dev/null | sed 's/\r//')
section() {  # name -> that section's lines
  awk -v name="$1" '/^[A-Z]/ { inside = ($0 == name) ; next } inside' <<<"$rendered"
}
commands_section=$(section COMMANDS)
synopsis=$(section SYNOPSIS)

# Leaf commands of the tool: the top level's subcommands, and those of a command with its own.
help_subcommands() {  # help text -> subcommand names
  awk '/^Subcommands:/ { inside = 1; next } /^[^ ]/ { inside = 0 } inside && NF { print $1 }'
}
help_options() {  # help text -> options, one a line, without -h/--help
  awk '/^Options:/ { inside = 1; next } /^[^ ]/ { inside = 0 } inside && $1 ~ /^-/ { print $1 }' |
    tr ',' '\n' | grep -v -x -E -- '-h|--help' | sort -u || true
}

leaves=()
while read -r cmd; do
  sub_help=$("$tool" "$cmd" --help)
  subs=$(help_subcommands <<<"$sub_help")
  if [[ -n $subs ]]; then
    while read -r sub; do leaves+=("$cmd $sub"); done <<<"$subs"
  else
    leaves+=("$cmd")
  fi
done < <("$tool" --help | help_subcommands)
((${#leaves[@]} > 0)) || fail "$tool --help lists no commands"

# A command's entry: from its line in column 8 up to the next line in column 8.
entry() {  # command path -> the lines of its entry
  awk -v cmd="$1" '
    /^       [^ ]/ {
      line = substr($0, 8)
      inside = (line == cmd || index(line, cmd " ") == 1)
      if (inside) next
    }
    inside' <<<"$commands_section"
}
entry_options() {  # entry lines -> the option tags in column 15, one a line
  awk '/^              -/ {
         n = split(substr($0, 15), words, " ")
         for (i = 1; i <= n && words[i] ~ /^-/; i++) { w = words[i]; sub(/,$/, "", w); print w }
       }' | sort -u
}

for cmd in "${leaves[@]}"; do
  read -r -a words <<<"$cmd"
  lines=$(entry "$cmd")
  if [[ -z $lines ]]; then
    fail "tarnwick-cfg.1: no entry for the command '$cmd' under COMMANDS"
    continue
  fi
  grep -q -F "tarnwick-cfg $cmd" <<<"$synopsis" || fail "tarnwick-cfg.1: '$cmd' missing from SYNOPSIS"
  documented=$(entry_options <<<"$lines")
  listed=$("$tool" "${words[@]}" --help | help_options)
  missing=$(comm -23 <(echo "$listed") <(echo "$documented") | grep . || true)
  stale=$(comm -13 <(echo "$listed") <(echo "$documented") | grep . || true)
  [[ -z $missing ]] || fail "tarnwick-cfg.1: '$cmd' does not document: $(echo $missing)"
  [[ -z $stale ]] || fail "tarnwick-cfg.1: '$cmd' documents options the tool lacks: $(echo $stale)"
done

# Entries for commands the tool does not have (lower-case first words in column 8).
while read -r first second _; do
  name=$first
  [[ $first == oper-db ]] && name="$first $second"
  printf '%s\n' "${leaves[@]}" | grep -q -x -F "$name" ||
    fail "tarnwick-cfg.1: entry for '$name', which the tool does not have"
done < <(grep -E '^       [a-z]' <<<"$commands_section" | sed 's/^ *//')

# The options every command takes: entries in column 8 that start with a dash.
global_documented=$(grep -E '^       -' <<<"$commands_section" | sed 's/^ *//' |
  awk '{ for (i = 1; i <= NF && $i ~ /^-/; i++) { w = $i; sub(/,$/, "", w); print w } }' | sort -u)
for option in $("$tool" --help | awk '/^Options:/ { f = 1; next } /^[^ ]/ { f = 0 } f && $1 ~ /^-/ { print $1 }' | tr ',' ' '); do
  grep -q -x -F -- "$option" <<<"$global_documented" ||
    fail "tarnwick-cfg.1: the option $option that every command takes is not documented"
done

if ((failures > 0)); then
  echo "$failures problem(s) in the manual pages"
  exit 1
fi
echo "manual pages: ${#pages[@]} formatted cleanly; ${#leaves[@]} commands documented as the tool lists them"
