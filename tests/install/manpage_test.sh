#!/usr/bin/env bash
# The installed manual pages must hold every command, option, option value and
# argument that the installed commands' --help shows, so an option added
# without its page, or a page left from an older build, fails here.
set -u
build=$1
project_version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
source "$(dirname "$0")/checks.sh"

cmake --install "$build" --prefix "$prefix" >/dev/null
man1="$prefix/share/man/man1"
tool="$prefix/bin/quillnest-tool"

# The page's roff source as plain lines: fonts, escaped dashes and guards removed.
plain() { gzip -dc "$1" | sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' -e 's/\\&//g'; }
# The lines of one command's part of the page, from its heading to the next.
part() { awk -v heading=".SS \"quillnest-tool $2\"" '$0 == heading { on = 1; next } on && /^\.S[SH]/ { exit } on' <<<"$1"; }
# One Qt help section's entries as "NAMES<TAB>DESCRIPTION", wrapped descriptions joined.
entries() {
  awk -v section="$2:" '
    function flush() { if (names != "") print names "\t" text; names = "" }
    $0 == section { on = 1; next }
    on && /^$/ { exit }
    on && /^  [^ ]/ { flush(); entry = substr($0, 3); split(entry, parts, /  +/); names = parts[1]; text = entry; sub(/^[^ ]+( [^ ]+)*  +/, "", text); if (text == entry) text = ""; next }
    on { line = $0; sub(/^ +/, "", line); text = text (text == "" ? "" : " ") line }
    END { flush() }
  ' <<<"$1"
}
has_line() { grep -Fxq -- "$2" <<<"$1"; }

# quillnest-tool(1): every command of the overview, with its own options and arguments.
check "quillnest-tool page installed" '[ -f "$man1/quillnest-tool.1.gz" ]'
page=$(plain "$man1/quillnest-tool.1.gz")
overview=$("$tool" --help)
commands=$(awk '/^Commands:$/ { on = 1; next } on && /^$/ { exit } on { print $1 }' <<<"$overview")
check "the overview lists commands" '[ "$(wc -w <<<"$commands")" -ge 8 ]'
for command in $commands; do
  summary=$(awk -v c="$command" '$1 == c { sub(/^ *[^ ]+ +/, ""); print; exit }' <<<"$overview")
  check "$command listed with its summary" 'awk -v c="$command" -v s="$summary" "prev == c && \$0 == s { found = 1 } { prev = \$0 } END { exit !found }" <<<"$page"'
  section=$(part "$page" "$command")
  check "$command has its part" '[ -n "$section" ]'
  help=$("$tool" "$command" --help)
  description=$(sed -n 2p <<<"$help")
  check "$command described" 'has_line "$section" "$description"'
  while IFS=$'\t' read -r names text; do
    tag=$(sed 's/<\([^>]*\)>/\1/g' <<<"$names")
    check "$command option $tag" 'has_line "$section" "$tag"'
    check "$command option $tag explained" 'grep -A1 -Fx -- "$tag" <<<"$section" | tail -n 1 | grep -Fxq -- "$text"'
  done < <(entries "$help" Options)
  while IFS=$'\t' read -r name text; do
    check "$command argument $name" 'has_line "$section" "$name" && grep -q -- "^quillnest-tool $command .*$name" <<<"$section"'
  done < <(entries "$help" Arguments)
done
# A command the overview does not list must not linger in the page either.
check "no stale command parts" '[ "$(grep -c "^\.SS " <<<"$page")" -eq "$(wc -w <<<"$commands")" ]'

# quillnest(1): the program's options and version, asked through the installed launcher.
check "quillnest page installed" '[ -f "$man1/quillnest.1.gz" ]'
home="$work/home"
mkdir -p "$home"
program_help=$(HOME="$home" "$prefix/bin/quillnest" --help)
version=$(HOME="$home" "$prefix/bin/quillnest" --version)
check "asking the help makes no diary" '[ ! -e "$home/Diary" ]'
page=$(plain "$man1/quillnest.1.gz")
while IFS=$'\t' read -r names text; do
  check "quillnest option $names" 'has_line "$page" "$names"'
done < <(entries "$program_help" Options)
check "quillnest options found" '[ -n "$(entries "$program_help" Options)" ]'
check "page names the version" 'head -n 1 <<<"$page" | grep -Fq "\"$version\""'
check "version is the project's" '[ "$version" = "Quillnest $project_version" ]'

# What lintian asks of a page: it renders without a warning from man or groff.
for page_file in "$man1"/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page_file" 2>&1 >/dev/null)
  check "$(basename "$page_file") renders cleanly" '[ -z "$warnings" ] || { echo "$warnings"; false; }'
done

report manpage
