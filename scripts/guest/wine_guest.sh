#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a Linux program that drives Windows programs under Wine in the QEMU
# guest (run_guest.sh), with Wine's HID bus reaching the gadget unit's hidraw
# node.
#   wine_guest.sh WINE_RUN WINE WORKDIR PROGRAM [ARGS...]
# The prefix is made here, where wineboot -i takes seconds rather than the
# guest's minutes, in WORKDIR/prefix; the guest writes over it on its tmpfs.
# Exit 77 (skip) as run_guest.sh, and when PROGRAM (of the Linux build) is
# missing; 1 then in CI (CI=true).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "$1" = --in-guest ]; then
  wine=$2 work=$3
  shift 3
  modprobe overlay
  # Writable over the host's read-only root: /tmp for X's and Wine's sockets.
  for dir in /tmp "$work"; do
    layer=/run/overlay/${dir//\//_}
    mkdir -p "$layer/upper" "$layer/work"
    mount -t overlay overlay -o "lowerdir=$dir,upperdir=$layer/upper,workdir=$layer/work" "$dir"
  done
  export WINEPREFIX=$work/prefix WINEDEBUG=${WINEDEBUG:--all} DISPLAY=:9 \
         WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  Xvfb :9 -nolisten tcp -screen 0 1024x768x24 >/run/tmp/xvfb.log 2>&1 &
  for _ in $(seq 600); do [ -S /tmp/.X11-unix/X9 ] && break; sleep 0.2; done
  # Started once for every program, the desktop with the display.
  start=$(date +%s)
  "${wine}server" -p
  "$wine" wineboot
  echo "wine-guest: Wine's server and desktop up in $(( $(date +%s) - start )) s" >&2
  exec "$@"
fi

wine_run=$1 wine=$2 work=$3
shift 3
if [ ! -x "$1" ]; then
  [ "${CI:-}" = true ] && { echo "e2e-wine: no $1: build the dev preset first" >&2; exit 1; }
  echo "e2e-wine: skipped: no $1 (build the dev preset first)" >&2
  exit 77
fi
export WINEPREFIX=$work/prefix
# winebus's SDL bus would take the unit; its hidraw backend is the one wanted.
"$wine_run" "$WINEPREFIX" "$wine" reg add 'HKLM\System\CurrentControlSet\Services\winebus' \
  /v 'Enable SDL' /t REG_DWORD /d 0 /f >/dev/null
# The server writes the registry out as it goes.
"${wine}server" -k 2>/dev/null || true
"${wine}server" -w
exec "$here/run_guest.sh" --workdir "$work/guest" --timeout "${QORUN_WINE_E2E_TIMEOUT:-2400}" \
  -- bash "$here/wine_guest.sh" --in-guest "$wine" "$work" "$@"
