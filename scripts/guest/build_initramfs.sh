#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the guest's initramfs: busybox, the virtio and 9p modules of the kernel
# that will boot, and an init that switches into the host's root over 9p.
# Usage: build_initramfs.sh KERNEL_VERSION OUTPUT.cpio.gz
set -euo pipefail

version=$1 output=$2
here=$(cd "$(dirname "$0")" && pwd)
moddir=/lib/modules/$version
busybox=${QORUN_E2E_BUSYBOX:-/bin/busybox}

# Load order: each module after the ones it needs.
modules=(virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci
         netfs fscache 9pnet 9pnet_virtio 9p)

die() { echo "$*" >&2; exit 1; }
[ -f "$moddir/modules.dep" ] || die "no modules for kernel $version in $moddir"
[ -x "$busybox" ] || die "no busybox at $busybox (package busybox-static)"
# The initramfs has no libraries: a dynamically linked busybox cannot run there.
! { command -v readelf >/dev/null && readelf -l "$busybox" | grep -q INTERP; } ||
  die "$busybox is not statically linked (package busybox-static)"

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
mkdir -p "$staging"/{bin,dev,proc,sys,newroot,modules}
cp "$busybox" "$staging/bin/busybox"
ln -s busybox "$staging/bin/sh"

for name in "${modules[@]}"; do
  rel=$(grep -E "^(.*/)?${name}\.ko(\.[a-z]+)?:" "$moddir/modules.dep" | head -n1 | cut -d: -f1)
  [ -n "$rel" ] || die "module $name not found for kernel $version"
  case "$rel" in
    *.xz) xz -dc ;; *.zst) zstd -qdc ;; *.gz) gzip -dc ;; *) cat ;;
  esac <"$moddir/$rel" >"$staging/modules/$name.ko"
  echo "$name" >>"$staging/modules/order"
done

install -m 0755 "$here/initramfs_init.sh" "$staging/init"

mkdir -p "$(dirname "$output")"
(cd "$staging" && find . -print0 | cpio --null --create --format=newc --quiet --owner=0:0) |
  gzip -1 >"$output.tmp"
mv "$output.tmp" "$output"
