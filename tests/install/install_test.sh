#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what an installed Zelmox brings: every
# file, that the menu entry and the AppStream description validate and name files that are there,
# that the manual pages and the completion know every option of zelmox-cli, that the installed
# programs run, and that the Debian package holds the same.
#   install_test.sh BUILD-DIR
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$1" --prefix /usr > /dev/null
usr=$root/usr
id=org.zelmox.Zelmox

failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

for file in bin/zelmox bin/zelmox-cli share/applications/$id.desktop \
    share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml \
    share/man/man1/zelmox.1.gz share/man/man1/zelmox-cli.1.gz \
    lib/systemd/user/zelmox-scan@.service lib/systemd/user/zelmox-scan@.timer \
    share/bash-completion/completions/zelmox-cli share/doc/zelmox/examples/watches.zelmox; do
  [ -s "$usr/$file" ] || fail "$file is not installed"
done

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "the desktop file is not valid"
appstreamcli validate --no-net --no-color "$usr/share/metainfo/$id.metainfo.xml" > "$root/appstream" ||
  fail "the metainfo is not valid: $(cat "$root/appstream")"
# The programs and the icon the other files name.
for program in $(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$usr/share/applications/$id.desktop") \
    $(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$usr/lib/systemd/user/zelmox-scan@.service"); do
  [ -x "$usr/bin/$program" ] || fail "$program is named but not installed"
done
grep -q "^Icon=$id$" "$usr/share/applications/$id.desktop" || fail "the menu entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop<" "$usr/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo names another desktop file"

for page in zelmox zelmox-cli; do
  warnings=$(zcat "$usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
done

help=$("$usr/bin/zelmox-cli" --help) || fail "the installed zelmox-cli --help fails"
grep -q "^Usage:" <<< "$help" || fail "the installed zelmox-cli --help prints no usage"
# complete WORD...: what the completion offers for the last word of zelmox-cli WORD...
complete() {
  bash -c 'source "$1"; shift; COMP_WORDS=(zelmox-cli "$@"); COMP_CWORD=$#
           _zelmox_cli 2> /dev/null; echo "${COMPREPLY[*]}"' _ \
    "$usr/share/bash-completion/completions/zelmox-cli" "$@"
}
[ "$(complete ex)" = export ] || fail "the completion does not complete the command"
[ "$(complete import f l --scan-type '')" = "0 1 2" ] || fail "the completion offers no scan types"
offered=" $(complete scan f --) $(complete import f l --) $(complete export f o --) --help "
manual=$(zcat "$usr/share/man/man1/zelmox-cli.1.gz")
for option in $(grep -o -- '--[a-z-]*' <<< "$help" | sort -u); do
  [[ $offered == *" $option "* ]] || fail "the completion does not offer $option"
  grep -qF -- "${option//-/\\-}" <<< "$manual" || fail "zelmox-cli.1 does not describe $option"
done

# The window starts from the installed program alone and keeps running; a missing resource or
# plugin would end it at once. Its own runtime folder keeps it from handing over to a Zelmox the
# user has open.
mkdir -m 700 "$root/runtime"
QT_QPA_PLATFORM=offscreen HOME=$root XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data \
  XDG_RUNTIME_DIR=$root/runtime timeout 4 "$usr/bin/zelmox" > "$root/zelmox.out" 2>&1 &&
  status=0 || status=$?
[ "$status" -eq 124 ] || fail "the installed zelmox ended with status $status: $(cat "$root/zelmox.out")"

# The Debian package holds the same files, and the libraries they need are found.
cpack --config "$1/CPackConfig.cmake" -B "$root/package" > "$root/cpack.out" 2>&1 ||
  fail "cpack failed: $(cat "$root/cpack.out")"
deb=$(echo "$root"/package/zelmox_*.deb)
[ "$(dpkg-deb --contents "$deb" | awk '!/\/$/ { sub("^./", "", $6); print $6 }' | sort)" = \
  "$(cd "$root" && find usr -type f | sort)" ] || fail "the package holds other files than the install"
dpkg-deb --field "$deb" Depends | grep -q "libqt6widgets6 (>=" || fail "the package needs no Qt"

exit $failed
