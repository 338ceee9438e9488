#!/usr/bin/env bash
# Installs the build under a fresh prefix and starts the installed launcher
# as a new user would: it must make ~/Diary from the skeleton and start the
# program there.
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix with space"
source "$(dirname "$0")/checks.sh"

cmake --install "$build" --prefix "$prefix" >/dev/null
check "program installed" '[ -x "$prefix/libexec/quillnest/quillnest" ]'
check "launcher installed" '[ -x "$prefix/bin/quillnest" ]'
check "tool installed" '[ -x "$prefix/bin/quillnest-tool" ]'
check "skeleton installed" '[ -f "$prefix/share/quillnest/skeleton/pw.dat" ] && [ -d "$prefix/share/quillnest/skeleton/pages" ] && [ -d "$prefix/share/quillnest/skeleton/dates" ]'
check "no placeholder files" '[ -z "$(find "$prefix/share/quillnest" -name .keep)" ]'
check "help installed" '[ -f "$prefix/share/quillnest/skeleton/help.htm" ]'
check "launcher entry" '[ -f "$prefix/share/applications/io.github.quillnest.Quillnest.desktop" ]'
check "AppStream file" '[ -f "$prefix/share/metainfo/io.github.quillnest.Quillnest.metainfo.xml" ]'
check "manual pages" '[ -f "$prefix/share/man/man1/quillnest.1.gz" ] && [ -f "$prefix/share/man/man1/quillnest-tool.1.gz" ]'
check "copyright and changelog" '[ -f "$prefix/share/doc/quillnest/copyright" ] && gzip -t "$prefix/share/doc/quillnest/changelog.gz"'
check "scalable icon" '[ -f "$prefix/share/icons/hicolor/scalable/apps/quillnest.svg" ]'
for size in 16 32 48 64 128 256; do
  check "${size}px icon" '[ "$(file -b "$prefix/share/icons/hicolor/${size}x${size}/apps/quillnest.png" | cut -d, -f2 | tr -d " ")" = "${size}x${size}" ]'
done
if command -v desktop-file-validate >/dev/null; then
  check "launcher entry valid" 'desktop-file-validate "$prefix/share/applications/io.github.quillnest.Quillnest.desktop"'
fi

# The program waits at its first message box; the bounded run shows it started and stayed up.
home="$work/home"
mkdir -p "$home"
HOME="$home" QT_QPA_PLATFORM=offscreen timeout 5 "$prefix/bin/quillnest" >/dev/null 2>&1
status=$?
check "program started and kept running" '[ "$status" -eq 124 ]'
check "diary made from the skeleton" 'cmp -s "$home/Diary/pw.dat" "$prefix/share/quillnest/skeleton/pw.dat" && [ -d "$home/Diary/pages" ] && [ -d "$home/Diary/dates" ] && [ -f "$home/Diary/help.htm" ]'

report install
