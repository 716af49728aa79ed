#!/bin/sh
# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later

# First stage in the guest: mount the host's root read-only over 9p and hand
# over to the session script named on the kernel command line.
export PATH=/bin
/bin/busybox --install -s /bin

mount -t devtmpfs dev /dev
exec 0</dev/console 1>/dev/console 2>&1
mount -t proc proc /proc

fail() { echo "qorun-guest: $*"; echo o >/proc/sysrq-trigger; sleep 30; }

while read -r name; do
  insmod "/modules/$name.ko" || fail "insmod $name failed"
done </modules/order

mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,cache=loose,ro hostroot /newroot ||
  fail "cannot mount the host root"

session=
for arg in $(cat /proc/cmdline); do
  case "$arg" in qorun_session=*) session=${arg#qorun_session=} ;; esac
done
[ -n "$session" ] || fail "no qorun_session= on the kernel command line"

mount --move /dev /newroot/dev
mount --move /proc /newroot/proc
exec switch_root /newroot /bin/sh "$session"
