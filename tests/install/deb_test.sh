#!/usr/bin/env bash
# Builds the Debian package, has lintian judge it, installs it on this machine
# with apt, uses what it installed, purges it, and checks that nothing it
# brought stays behind. Whatever fails, the machine is left as it was found.
# Exits 77 (skipped) where it may not install packages.
set -u
build=$1
project_version=$2
skip() { echo "SKIPPED: $1"; exit 77; }
if [ "$(id -u)" -eq 0 ]; then
  as_root() { "$@"; }
elif sudo -n true 2>/dev/null; then
  as_root() { sudo -n "$@"; }
else
  skip "installing a package needs root or sudo without a password"
fi
for command in cpack lintian apt-get dpkg-deb man; do
  command -v "$command" >/dev/null || { echo "FAILED: $command is missing"; exit 1; }
done
# An installed Quillnest is the owner's; this test would replace and then remove it.
if dpkg-query -W -f='${Status}' quillnest 2>/dev/null | grep -q 'ok installed'; then
  skip "quillnest is already installed on this machine"
fi

work=$(mktemp -d)
chmod 755 "$work"
apt_get() { as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 "$@"; }
installed_packages() { dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 ~ /^.i/ { print $2 }' | sort; }
installed_packages >"$work/packages-before"
restore_machine() {
  if dpkg-query -W -f='${Status}' quillnest 2>/dev/null | grep -q 'ok installed\|config-files'; then
    apt_get purge -y -qq quillnest >/dev/null
  fi
  # Whatever apt brought in for the package goes too, and nothing else.
  local added
  added=$(installed_packages | comm -13 "$work/packages-before" -)
  [ -z "$added" ] || apt_get purge -y -qq $added >/dev/null
  rm -rf "$work"
}
trap restore_machine EXIT
trap "exit 130" INT TERM HUP

source "$(dirname "$0")/checks.sh"

arch=$(dpkg --print-architecture)
deb="$work/quillnest_${project_version}_${arch}.deb"
cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || cat "$work/cpack.log"
check "package built as $(basename "$deb")" '[ -f "$deb" ]'
[ -f "$deb" ] || exit 1

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6printsupport6 libqt6dbus6 libqt6gui6 libqt6core6 libsodium23 libzip4 libpwquality1 cracklib-runtime libc6; do
  check "depends on $library" 'tr "," "\n" <<<"$depends" | grep -q "^ *$library\b"'
done
check "package version" '[ "$(dpkg-deb -f "$deb" Version)" = "$project_version" ]'
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's:^\./:/:; s:/$::')
for path in /usr/bin/quillnest /usr/bin/quillnest-tool /usr/libexec/quillnest/quillnest \
    /usr/share/man/man1/quillnest.1.gz /usr/share/man/man1/quillnest-tool.1.gz \
    /usr/share/doc/quillnest/copyright /usr/share/doc/quillnest/changelog.gz /usr/share/doc/quillnest/SYNC.md \
    /usr/share/metainfo/io.github.quillnest.Quillnest.metainfo.xml \
    /usr/share/applications/io.github.quillnest.Quillnest.desktop \
    /usr/share/quillnest/skeleton/pw.dat /usr/share/quillnest/skeleton/help.htm; do
  check "package holds $path" 'grep -Fxq "$path" <<<"$contents"'
done

# lintian refuses root only by a notice; its tags are what counts.
lintian --fail-on none "$deb" >"$work/lintian.log" 2>&1
grep -E '^[EW]: ' "$work/lintian.log"
check "lintian reports no error" '! grep -q "^E: " "$work/lintian.log"'

# What the package brings that the machine lacks now must be gone again after the purge.
for path in $contents; do
  [ -e "$path" ] && echo "$path"
done >"$work/present-before"
apt_get install -y -qq "$deb" >"$work/apt.log" 2>&1 || cat "$work/apt.log"
check "package installed" 'dpkg-query -W -f="\${Status}" quillnest 2>/dev/null | grep -q "ok installed"'
listed=$(dpkg -L quillnest 2>/dev/null | grep -v '^/\.$')
check "dpkg lists the package's files" '[ -n "$listed" ] && grep -Fxq /usr/bin/quillnest-tool <<<"$listed"'
check "every listed file is on disk" '(while read -r path; do [ -e "$path" ] || { echo "missing $path"; exit 1; }; done <<<"$listed")'

check "quillnest-tool runs from the package" '/usr/bin/quillnest-tool --help | grep -q "^Usage: quillnest-tool"'
check "man finds the installed page" '[ "$(man -w quillnest-tool)" = /usr/share/man/man1/quillnest-tool.1.gz ]'
check "the page reads" 'LC_ALL=C MANWIDTH=80 man -P cat quillnest-tool 2>/dev/null | grep -q "quillnest-tool - work on a Quillnest diary"'
# The installed launcher, as a new user starts it from the menu: a diary is made and the window stays up.
home="$work/home"
mkdir -p "$home"
HOME="$home" QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/quillnest >/dev/null 2>&1
status=$?
check "installed program started and kept running" '[ "$status" -eq 124 ]'
check "installed program made the diary" '[ -f "$home/Diary/pw.dat" ] && [ -f "$home/Diary/help.htm" ]'

apt_get purge -y -qq quillnest >"$work/apt.log" 2>&1 || cat "$work/apt.log"
check "package purged" '! dpkg-query -W -f="\${Status}" quillnest 2>/dev/null | grep -q "ok installed\|config-files"'
remains=$(while read -r path; do
  [ -e "$path" ] && ! grep -Fxq "$path" "$work/present-before" && echo "$path"
done <<<"$listed")
check "nothing of the package remains" '[ -z "$remains" ] || { echo "$remains"; false; }'

report deb
