#!/usr/bin/env bash
# The installed desktop file and AppStream file must validate and agree with
# each other and with what is installed: software centres show the program
# only when its id, launcher, icon, commands and release all line up.
set -u
build=$1
project_version=$2
for command in appstreamcli desktop-file-validate; do
  command -v "$command" >/dev/null || { echo "SKIPPED: $command is missing"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
source "$(dirname "$0")/checks.sh"

cmake --install "$build" --prefix "$prefix" >/dev/null
metainfo=$(find "$prefix/share/metainfo" -name '*.metainfo.xml')
check "one AppStream file" '[ "$(wc -l <<<"$metainfo")" -eq 1 ] && [ -f "$metainfo" ]'
check "AppStream file valid" 'appstreamcli validate --no-net "$metainfo"'

value() { sed -n "s:.*<$1[^>]*>\(.*\)</$1>.*:\1:p" "$metainfo"; }
id=$(value id)
check "file named after the id" '[ "$(basename "$metainfo")" = "$id.metainfo.xml" ]'
desktop="$prefix/share/applications/$id.desktop"
check "desktop file named after the id" '[ -f "$desktop" ]'
check "desktop file valid" 'desktop-file-validate "$desktop"'
check "launchable is that desktop file" '[ "$(value launchable)" = "$id.desktop" ]'

entry() { sed -n "s/^$1=//p" "$desktop"; }
icon=$(entry Icon)
check "the launcher's icon installed" '[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ]'
check "the launcher's command installed" '[ -x "$prefix/bin/$(entry Exec | cut -d" " -f1)" ]'
for binary in $(value binary); do
  check "provided command $binary installed" '[ -x "$prefix/bin/$binary" ]'
done
check "commands provided" '[ -n "$(value binary)" ]'
for category in $(value category); do
  check "category $category also in the desktop file" 'entry Categories | tr ";" "\n" | grep -Fxq "$category"'
done

# Bumping the version without a release entry would show software centres an old release.
newest=$(sed -n 's/.*<release [^>]*version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
check "newest release is this version ($project_version)" '[ "$newest" = "$project_version" ]'
check "screenshots are https" '! grep -o "<image[^>]*>[^<]*" "$metainfo" | grep -v ">https://"'

report metadata
