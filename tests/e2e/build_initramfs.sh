#!/usr/bin/env bash
# Builds the guest's initramfs: busybox, the virtio and 9p modules of the
# kernel that will boot, and an init that mounts the host's root over 9p and
# switches into it.
# Usage: build_initramfs.sh KERNEL_VERSION OUTPUT.cpio.gz
set -euo pipefail

version=$1
output=$2
here=$(cd "$(dirname "$0")" && pwd)
moddir=/lib/modules/$version
busybox=${QORUN_E2E_BUSYBOX:-/bin/busybox}

# Load order: each module after the ones it needs.
modules=(virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci
         netfs fscache 9pnet 9pnet_virtio 9p)

[ -f "$moddir/modules.dep" ] || { echo "no modules for kernel $version in $moddir" >&2; exit 1; }
[ -x "$busybox" ] || { echo "no busybox at $busybox (package busybox-static)" >&2; exit 1; }
# The initramfs has no libraries: a dynamically linked busybox cannot run there.
if command -v readelf >/dev/null && readelf -l "$busybox" | grep -q INTERP; then
  echo "$busybox is not statically linked (package busybox-static)" >&2; exit 1
fi

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
mkdir -p "$staging"/{bin,dev,proc,sys,newroot,modules}
cp "$busybox" "$staging/bin/busybox"
ln -s busybox "$staging/bin/sh"

for name in "${modules[@]}"; do
  rel=$(grep -E "^(.*/)?${name}\.ko(\.[a-z]+)?:" "$moddir/modules.dep" | head -n1 | cut -d: -f1)
  [ -n "$rel" ] || { echo "module $name not found for kernel $version" >&2; exit 1; }
  src=$moddir/$rel
  dst=$staging/modules/$name.ko
  case "$src" in
    *.ko) cp "$src" "$dst" ;;
    *.ko.xz) xz -dc "$src" >"$dst" ;;
    *.ko.zst) zstd -qdc "$src" >"$dst" ;;
    *.ko.gz) gzip -dc "$src" >"$dst" ;;
    *) echo "unknown module format: $src" >&2; exit 1 ;;
  esac
  echo "$name" >>"$staging/modules/order"
done

install -m 0755 "$here/initramfs_init.sh" "$staging/init"

mkdir -p "$(dirname "$output")"
(cd "$staging" && find . -print0 | cpio --null --create --format=newc --quiet --owner=0:0) |
  gzip -1 >"$output.tmp"
mv "$output.tmp" "$output"
