#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs the discovery tests against a real Avahi daemon inside namespaces of their own: a network
# namespace with only its loopback (up), a mount namespace with a private tmpfs on /run for the
# system bus's and the daemon's files, and a PID namespace so that whatever is left is killed
# with it. Nothing leaves the machine: with no other interface the daemon announces and browses
# on the namespace's loopback (127.0.0.1), which needs no change to its settings.
#   avahi_namespace.sh TEST_PROGRAM [ARGS...]
# Exits 77 (skipped) where the namespaces cannot be made (not root) or a tool is missing. The
# test program controls the bus and the daemon with
# "$0 --control start|stop-daemon|stop-bus|freeze-daemon|thaw-daemon",
# found in $PENTARO_AVAHI_CONTROL.
set -euo pipefail
readonly kSkipped=77
readonly kHostName=pentaro-lan
export PATH=$PATH:/usr/sbin:/sbin

control() {
  case $1 in
    start)
      if [[ ! -S /run/dbus/system_bus_socket ]]; then
        rm -f /run/dbus/pid
        dbus-daemon --system --fork
      fi
      if ! avahi-daemon --check 2>/dev/null; then
        avahi-daemon -f /run/pentaro-test/avahi-daemon.conf --no-chroot --no-drop-root \
          --no-rlimits -D
      fi
      # Ready when it answers on the bus.
      for _ in $(seq 100); do
        avahi-browse -at >/dev/null 2>&1 && return 0
        sleep 0.1
      done
      echo "avahi_namespace: the daemon does not answer" >&2
      return 1
      ;;
    stop-daemon)
      avahi-daemon -k 2>/dev/null || true
      for _ in $(seq 100); do
        avahi-daemon --check 2>/dev/null || return 0
        sleep 0.1
      done
      return 1
      ;;
    freeze-daemon | thaw-daemon)
      # A daemon that hangs: every D-Bus call to it waits for the bus's timeout.
      kill "-$([[ $1 == freeze-daemon ]] && echo STOP || echo CONT)" "$(cat /run/avahi-daemon/pid)"
      ;;
    stop-bus)
      control stop-daemon
      [[ -f /run/dbus/pid ]] && kill "$(cat /run/dbus/pid)"
      for _ in $(seq 100); do
        [[ -e /run/dbus/pid ]] && kill -0 "$(cat /run/dbus/pid)" 2>/dev/null || break
        sleep 0.1
      done
      rm -f /run/dbus/pid /run/dbus/system_bus_socket
      ;;
    *)
      echo "avahi_namespace: unknown control $1" >&2
      return 2
      ;;
  esac
}

if [[ ${1-} == --control ]]; then
  control "$2"
  exit
fi

if [[ ${1-} != --inside ]]; then
  for tool in unshare ip dbus-daemon avahi-daemon avahi-browse; do
    if ! command -v "$tool" >/dev/null; then
      echo "avahi_namespace: skipped: $tool is not installed (scripts/setup.sh installs it)"
      exit $kSkipped
    fi
  done
  if ! unshare --net --mount --pid --fork true 2>/dev/null; then
    echo "avahi_namespace: skipped: a network namespace cannot be made here (it needs root)"
    exit $kSkipped
  fi
  exec unshare --net --mount --pid --fork --kill-child --mount-proc "$0" --inside "$@"
fi
shift

mount -t tmpfs -o mode=0755 pentaro-run /run
mkdir -p /run/dbus /run/avahi-daemon /run/pentaro-test
ip link set lo up
cat >/run/pentaro-test/avahi-daemon.conf <<CONF
[server]
host-name=$kHostName
use-ipv4=yes
use-ipv6=no
ratelimit-interval-usec=1000000
ratelimit-burst=1000
[wide-area]
enable-wide-area=no
[publish]
publish-hinfo=no
publish-workstation=no
CONF
control start
export PENTARO_AVAHI_CONTROL=$0
export PENTARO_AVAHI_HOST=$kHostName.local
status=0
"$@" || status=$?
control stop-bus || true
exit $status
