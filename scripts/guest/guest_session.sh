#!/bin/sh
# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Second stage in the guest, PID 1 on the host's read-only root: make the
# writable places a desktop has, start udevd, run the command left in the
# results share, leave its exit code there and power off.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin

# PID 1 must not exit (the kernel would panic) nor run programs off the 9p
# root once power-off has begun: it spins in the shell.
poweroff_now() { sync; echo o >/proc/sysrq-trigger; while :; do :; done; }

mount -t sysfs sys /sys
# Writable space only under /run: the host's /tmp may hold the build tree.
mount -t tmpfs -o mode=1777 tmpfs /run
mkdir -p -m 1777 /run/tmp && mkdir -p -m 700 /run/user/0 && mkdir -p /run/results /dev/shm /dev/pts
mount -t tmpfs -o mode=1777 tmpfs /dev/shm
mount -t devpts devpts /dev/pts
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 results /run/results ||
  { echo "qorun-guest: cannot mount the results share"; poweroff_now; }
export XDG_RUNTIME_DIR=/run/user/0 HOME=/run/tmp TMPDIR=/run/tmp LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen

# The virtual unit as a USB gadget: four controllers, so four units can be
# plugged in at once; usbhid is the host's driver for them.
modprobe libcomposite && modprobe dummy_hcd num=4 && modprobe usb_f_hid && modprobe usbhid &&
  mount -t configfs configfs /sys/kernel/config ||
  echo "qorun-guest: cannot set up the USB gadget modules"
# As on a desktop, udevd applies rules, rebroadcasts kernel events on the
# "udev" netlink source and loads hid-generic for a new HID device. No trigger:
# replaying the guest's own devices only loads unused modules.
if [ -x /lib/systemd/systemd-udevd ]; then
  /lib/systemd/systemd-udevd --daemon
  udevadm settle --timeout=30
else
  echo "qorun-guest: no systemd-udevd, loading hid-generic by hand"
  modprobe hid-generic
fi

# The command's own deadline, shorter than QEMU's: a hang still brings back output and status.
limit=$(cat /run/results/command_timeout 2>/dev/null || echo 180)
cd /run/tmp
timeout -k 5 "$limit" sh /run/results/command
status=$?
[ "$status" -eq 124 ] && echo "qorun-guest: the command did not finish within $limit s"
echo "$status" >/run/results/exit_code
sync
umount /run/results
poweroff_now
