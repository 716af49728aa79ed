#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Boots Debian's stock kernel under QEMU with the host's root read-only, runs
# one command in the guest (as root, with four dummy_hcd USB controllers for
# gadgets, and udevd) and exits with its exit code.
#   run_guest.sh [--workdir DIR] [--timeout SECONDS] -- PROGRAM [ARGS...]
#   run_guest.sh --bench BUILD_DIR     runs the end-to-end benchmark
# Exit 77 (skip) when QEMU or a suitable kernel is missing, 1 in CI (CI=true);
# QORUN_E2E_SKIP=1 skips even in CI (a distribution package's build).
# QORUN_E2E_QEMU, QORUN_E2E_KERNEL and QORUN_E2E_BUSYBOX name other binaries;
# QORUN_E2E_SMP=N gives the guest N CPUs (one by default).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
workdir= timeout_s=240 command=()

while [ $# -gt 0 ]; do
  case "$1" in
    --workdir) workdir=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --bench)
      build=$(cd "$2" && pwd)
      command=("$build/bench/e2e/qorun_e2e_bench" "$build/main_window/velbrix-qorun"
               "$build/command_line/velbrix-qorun-cli")
      workdir=${workdir:-$build/bench/e2e/guest}
      shift 2 ;;
    --) shift; command=("$@"); break ;;
    *) echo "usage: $0 [--workdir DIR] [--timeout S] -- PROGRAM [ARGS...] | --bench BUILD_DIR" >&2; exit 2 ;;
  esac
done
[ ${#command[@]} -gt 0 ] || { echo "no command given" >&2; exit 2; }
# The guest starts in its own scratch directory: make a relative program path absolute.
[[ ${command[0]} == */* ]] && command[0]=$(realpath "${command[0]}")

cannot_run() {
  [ "${CI:-}" = true ] && { echo "e2e: $* (CI must run the guest: WITH_E2E=1 scripts/install-deps)" >&2; exit 1; }
  echo "e2e: skipped: $*" >&2; exit 77
}
[ "${QORUN_E2E_SKIP:-0}" != 1 ] || { echo "e2e: skipped: QORUN_E2E_SKIP=1" >&2; exit 77; }

qemu=${QORUN_E2E_QEMU:-$(command -v qemu-system-x86_64 || true)}
[ -n "$qemu" ] && [ -x "$qemu" ] || cannot_run "no qemu-system-x86_64 (package qemu-system-x86)"
[ -x /bin/busybox ] || [ -n "${QORUN_E2E_BUSYBOX:-}" ] || cannot_run "no /bin/busybox (package busybox-static)"

# A kernel whose own modules (not the host's) are installed and hold 9p and
# the USB gadget's: dummy_hcd, libcomposite, usb_f_hid.
version_of() { local name=${1##*/}; echo "${name#vmlinuz-}"; }
usable_kernel() {
  local dep=/lib/modules/$(version_of "$1")/modules.dep
  [ -r "$1" ] && [ -f "$dep" ] && grep -q '/9p\.ko' "$dep" &&
    grep -q '/dummy_hcd\.ko' "$dep" && grep -q '/usb_f_hid\.ko' "$dep" && grep -q '/libcomposite\.ko' "$dep"
}
kernel=${QORUN_E2E_KERNEL:-}
if [ -n "$kernel" ]; then
  usable_kernel "$kernel" || cannot_run "$kernel is unreadable or lacks its 9p or USB gadget modules"
else
  for image in $(ls /boot/vmlinuz-* 2>/dev/null | sort -V); do usable_kernel "$image" && kernel=$image; done
fi
[ -n "$kernel" ] || cannot_run "no readable /boot/vmlinuz-* with 9p and USB gadget modules (package linux-image-amd64)"

workdir=$(mkdir -p "${workdir:=$(mktemp -d "${TMPDIR:-/tmp}/qorun-e2e.XXXXXX")}" && realpath "$workdir")
results=$workdir/results
rm -rf "$results" && mkdir -m 0777 -p "$results"

"$here/build_initramfs.sh" "$(version_of "$kernel")" "$workdir/initramfs.cpio.gz"

# The sanitizers' settings (ctest's asan preset sets them) go along.
{
  for var in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS QT_LOGGING_RULES; do
    [ -n "${!var:-}" ] && printf 'export %s=%q\n' "$var" "${!var}"
  done
  printf '%q ' "${command[@]}"; echo
} >"$results/command"
# Leave the guest time to boot and to bring the result back.
echo $(( timeout_s > 60 ? timeout_s - 30 : timeout_s / 2 )) >"$results/command_timeout"

# no_timer_check: on a loaded host the emulated timer misses the boot's
# check ("IO-APIC + timer doesn't work!") and the kernel panics. No SMAP:
# with it every Wine process in the guest dies at start. Wine wants the 2 GB.
echo "e2e: booting $kernel under QEMU (TCG)" >&2
start=$(date +%s)
set +e
timeout -k 10 "$timeout_s" "$qemu" \
  -accel tcg -cpu max,-smap -smp "${QORUN_E2E_SMP:-1}" -m 2G -nographic -no-reboot -net none \
  -kernel "$kernel" -initrd "$workdir/initramfs.cpio.gz" \
  -append "console=ttyS0 panic=-1 quiet no_timer_check qorun_session=$here/guest_session.sh" \
  -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
  -virtfs "local,path=$results,mount_tag=results,security_model=none" \
  </dev/null 2>&1 | tee "$workdir/console.log"
qemu_status=${PIPESTATUS[0]}
set -e
echo "e2e: guest ran $(( $(date +%s) - start )) s" >&2

fail() { echo "e2e: FAIL: $*" >&2; exit 1; }
[ "$qemu_status" -ne 124 ] && [ "$qemu_status" -ne 137 ] || fail "the guest did not finish within $timeout_s s"
[ -s "$results/exit_code" ] || fail "the guest left no exit code (QEMU exit $qemu_status); see $workdir/console.log"
status=$(cat "$results/exit_code")
echo "e2e: guest command exited with $status" >&2
exit "$status"
