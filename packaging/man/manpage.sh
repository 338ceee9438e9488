#!/bin/sh
# Writes a manual page from the commands' own --help texts and the AppStream
# file, so the page says what the program says and cannot fall behind it.
#
#   manpage.sh program BINARY METAINFO TAIL OUTPUT
#   manpage.sh tool BINARY METAINFO TAIL OUTPUT VERSION SUMMARY
#
# TAIL is hand-written roff appended after the generated sections.
set -eu
kind=$1 binary=$2 metainfo=$3 tail=$4 output=$5
# A sanitized build's leak report at exit is no concern of a help text.
export ASAN_OPTIONS=detect_leaks=0

# The newest release's day dates the page, so the same sources give the same page.
date=$(sed -n 's/.*<release [^>]*date="\([0-9-]*\)".*/\1/p' "$metainfo" | head -n 1)
[ -n "$date" ] || { echo "manpage.sh: no release date in $metainfo" >&2; exit 1; }

# Turns one Qt help text (QCommandLineParser::helpText) into roff: the usage
# line's arguments, the description as a paragraph, and a tagged paragraph
# for each option and argument. NAME is the command as it is typed.
qthelp2roff() {
  awk -v name="$1" -v heading="$2" '
    function esc(s,   out, c, i) {
      out = ""
      for (i = 1; i <= length(s); i++) {
        c = substr(s, i, 1)
        out = out (c == "\\" ? "\\(rs" : c)
      }
      if (out ~ /^[.\047]/) out = "\\&" out
      return out
    }
    function dashes(s) { gsub(/-/, "\\-", s); return s }
    # "-h, --help" or "--root <DIR>" as bold names and an italic value.
    function names(s,   parts, n, i, out, word) {
      n = split(s, parts, /, /)
      out = ""
      for (i = 1; i <= n; i++) {
        word = parts[i]
        if (match(word, / <[^>]*>$/))
          word = "\\fB" dashes(substr(word, 1, RSTART - 1)) "\\fR \\fI" esc(substr(word, RSTART + 2, RLENGTH - 3)) "\\fR"
        else
          word = "\\fB" dashes(word) "\\fR"
        out = out (i > 1 ? ", " : "") word
      }
      return out
    }
    function flush() {
      if (tag != "") { print ".TP"; print tag; print esc(text) }
      tag = ""; text = ""
    }
    NR == 1 {
      # The program part may be any path; what follows "[options]" is the arguments.
      if (!sub(/^Usage: .*\[options\] ?/, "")) sub(/^Usage: [^ ]* ?/, "")
      synopsis = "\\fB" dashes(name) "\\fR [\\fIoptions\\fR]"
      n = split($0, args, / /)
      for (i = 1; i <= n; i++) if (args[i] != "") synopsis = synopsis " \\fI" esc(args[i]) "\\fR"
      if (heading == "ss") { print ".SS \"" dashes(name) "\""; print synopsis; print ".PP" }
      section = "description"
      next
    }
    /^$/ { flush(); section = ""; next }
    /^Options:$/ { section = "options"; if (heading == "sh") print ".SH OPTIONS"; next }
    /^Arguments:$/ { section = "arguments"; if (heading == "sh") print ".SH ARGUMENTS"; next }
    section == "description" { if (heading != "sh") print esc($0); next }
    section == "options" || section == "arguments" {
      if ($0 ~ /^  [^ ]/) {
        flush()
        entry = substr($0, 3)
        if (match(entry, /  +/)) { label = substr(entry, 1, RSTART - 1); text = substr(entry, RSTART + RLENGTH) }
        else { label = entry; text = "" }
        tag = section == "options" ? names(label) : "\\fI" esc(label) "\\fR"
      } else {
        line = $0; sub(/^ +/, "", line)
        text = text (text == "" ? "" : " ") line
      }
      next
    }
    END { flush() }
  '
}

# The paragraphs of the AppStream description, one a line.
paragraphs() {
  awk '
    /<description>/ { inside = 1 }
    /<\/description>/ { if (inside) exit }
    inside && /<p>/ { p = ""; collecting = 1 }
    collecting {
      line = $0
      gsub(/<\/?p>/, "", line); gsub(/^ +| +$/, "", line)
      if (line != "") p = p (p == "" ? "" : " ") line
    }
    collecting && /<\/p>/ {
      gsub(/&lt;/, "<", p); gsub(/&gt;/, ">", p); gsub(/&apos;/, "\047", p); gsub(/&quot;/, "\"", p); gsub(/&amp;/, "\\&", p)
      print p; collecting = 0
    }
  ' "$metainfo"
}

roff_text() { sed 's/\\/\\(rs/g; s/^[.'\'']/\\\&&/'; }

tmp="$output.tmp"
trap 'rm -f "$tmp"' EXIT
case $kind in
program)
  source=$("$binary" --version)
  help=$("$binary" --help)
  summary=$(sed -n 's:.*<summary>\(.*\)</summary>.*:\1:p' "$metainfo" | head -n 1)
  {
    printf '%s\n' ".TH QUILLNEST 1 \"$date\" \"$source\" \"User Commands\""
    printf '%s\n' ".SH NAME"
    printf '%s\n' "quillnest \\- $(printf '%s' "$summary" | sed 's/^./\L&/')"
    printf '%s\n' ".SH SYNOPSIS"
    printf '%s\n' "\\fBquillnest\\fR [\\fIoptions\\fR]"
    printf '%s\n' ".SH DESCRIPTION"
    paragraphs | roff_text | sed '1!s/^/.PP\n/'
    printf '%s\n' "$help" | qthelp2roff quillnest sh
    cat "$tail"
  } >"$tmp"
  ;;
tool)
  version=$6 summary=$7
  overview=$("$binary" --help)
  {
    printf '%s\n' ".TH QUILLNEST\\-TOOL 1 \"$date\" \"Quillnest $version\" \"User Commands\""
    printf '%s\n' ".SH NAME"
    printf '%s\n' "quillnest\\-tool \\- $summary"
    printf '%s\n' ".SH SYNOPSIS"
    printf '%s\n' "\\fBquillnest\\-tool\\fR \\fICOMMAND\\fR [\\fIoptions\\fR]"
    printf '%s\n' ".SH DESCRIPTION"
    printf '%s\n' "\\fBquillnest\\-tool\\fR works on a Quillnest diary's data folder with one of these commands:"
    # The overview's command list, then every command's own help.
    printf '%s\n' "$overview" | awk '
      /^Commands:$/ { inside = 1; next }
      inside && /^$/ { inside = 0; next }
      inside { name = $1; sub(/^ *[^ ]+ +/, ""); print ".TP 9"; print "\\fB" name "\\fR"; print; next }
      NR > 1 && !/^$/ { print ".PP"; print }
    ' | sed 's/^'\''/\\\&'\''/; s/quillnest-tool/quillnest\\-tool/g; s/--help/\\-\\-help/g'
    printf '%s\n' ".SH COMMANDS"
    for command in $(printf '%s\n' "$overview" | awk '/^Commands:$/ { inside = 1; next } inside && /^$/ { exit } inside { print $1 }'); do
      "$binary" "$command" --help | qthelp2roff "quillnest-tool $command" ss
    done
    cat "$tail"
  } >"$tmp"
  ;;
*)
  echo "manpage.sh: unknown kind $kind" >&2
  exit 2
  ;;
esac
mv "$tmp" "$output"
