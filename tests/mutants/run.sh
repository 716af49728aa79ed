#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
#   tests/mutants/run.sh [RUNNER-OPTION...] CHECKOUT [SELECTOR...]
#
# Runs the shared mutation runner ($MUT_RUNNER, by default
# ../shared/mutation/run.sh beside the repository) over its faults that still
# apply to CHECKOUT and the ones here, which win on a name.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runner=${MUT_RUNNER:-$here/../../../shared/mutation/run.sh}
options=()
while [ "${1:-}" != "${1#--}" ]; do options+=("$1"); shift; done
[ $# -ge 1 ] || { sed -n 5,9p "$0"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/mutants" && cp "$runner" "$work/run.sh"
for diff in "$(dirname "$runner")"/mutants/*.diff; do
  if git -C "$1" apply --check "$diff" 2>/dev/null; then cp "$diff" "$work/mutants/"; fi
done
cp "$here"/*.diff "$work/mutants/"
bash "$work/run.sh" "${options[@]}" "$@"
