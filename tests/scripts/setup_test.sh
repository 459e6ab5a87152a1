#!/usr/bin/env bash
# Runs scripts/setup with stand-ins for the commands that would look at or change the machine
# (dpkg-query, id, sudo, apt-get, systemctl, cmake), so its decisions are checked without root.
#   setup_test.sh PATH-TO-scripts/setup
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export STUB_DIR=$work

mkdir -p "$work/repo/scripts" "$work/tools" "$work/stubs" "$work/sudo"
cp "$1" "$work/repo/scripts/setup"
# The real tools the script uses; sudo is on the path only when a case says so.
for tool in bash env dirname grep awk sort comm cat nproc; do
  ln -s "$(command -v "$tool")" "$work/tools/$tool"
done
stub() {
  printf '#!/bin/bash\n%s\n' "$2" > "$work/$1"
  chmod +x "$work/$1"
}
stub stubs/id 'echo "$STUB_UID"'
stub stubs/dpkg-query '[ "$STUB_INSTALLED" = no ] || echo "install ok installed"'
# Installing enables a service, as Debian's packages of servers do.
stub stubs/apt-get 'echo "${VIA}apt-get $*" >> "$STUB_DIR/calls"
[ "$1" != install ] || echo tinyproxy.service >> "$STUB_DIR/enabled"'
stub stubs/systemctl 'case "$1" in
  list-unit-files) cat "$STUB_DIR/enabled" ;;
  is-system-running) echo "$STUB_SYSTEMD" ;;
  *) echo "${VIA}systemctl $*" >> "$STUB_DIR/calls" ;;
esac'
stub stubs/cmake 'echo "cmake $*" >> "$STUB_DIR/calls"'
stub sudo/sudo 'VIA="sudo " exec "$@"'

# run UID SUDO INSTALLED SYSTEMD: runs the script; its status goes to $status, the commands it
# ran to $work/calls, what it printed to $work/out.
run() {
  : > "$work/calls"
  echo postgresql.service > "$work/enabled"
  local path="$work/stubs:$work/tools"
  [ "$2" = no ] || path="$work/sudo:$path"
  status=0
  STUB_UID=$1 STUB_INSTALLED=$3 STUB_SYSTEMD=$4 PATH=$path "$work/repo/scripts/setup" \
    > "$work/out" 2>&1 || status=$?
}
failed=0
check() {
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s: %s\n  expected: %s\n  got:      %s\n  output:   %s\n' \
      "$case" "$1" "$2" "$3" "$(cat "$work/out")"
    failed=1
  fi
}
calls() { grep -E "$1" "$work/calls" || true; }

case="a user without sudo and packages missing"
run 1000 no no running
check "status" 1 "$status"
check "one line" 1 "$(wc -l < "$work/out")"
check "that line says what to run" 1 "$(grep -c "^Missing packages and no sudo to install them: \
run  su -c 'apt-get update && apt-get install --no-install-recommends cmake ninja-build .* tinyproxy-bin .*'  \
(or install sudo), then scripts/setup again.$" "$work/out")"
check "nothing run" "" "$(cat "$work/calls")"

case="a user without sudo and nothing missing"
run 1000 no yes running
check "status" 0 "$status"
check "only the build run" "" "$(calls -v '^cmake ')"

case="a user with sudo whose install enables a service under a running systemd"
run 1000 yes no running
check "status" 0 "$status"
check "packages installed through sudo" 1 "$(calls '^sudo apt-get install .* tinyproxy-bin ' | wc -l)"
check "only the new service disabled and stopped" \
  "sudo systemctl disable --quiet tinyproxy.service sudo systemctl stop tinyproxy.service" \
  "$(calls systemctl | paste -sd ' ')"

case="root in a container, where systemd is installed but not running"
run 0 no no offline
check "status" 0 "$status"
check "the new service disabled, nothing to stop" "systemctl disable --quiet tinyproxy.service" \
  "$(calls systemctl)"

exit $failed
