#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later
# tests/mutants/run.sh [RUNNER-OPTION...] CHECKOUT [SELECTOR...]: the shared runner ($MUT_RUNNER, by default
# ../shared/mutation/run.sh beside the repository) over its faults that still apply and ours, which win on a name.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd) runner=${MUT_RUNNER:-$here/../../../shared/mutation/run.sh} options=()
while [ "${1:-}" != "${1#--}" ]; do options+=("$1"); shift; done
[ $# -ge 1 ] || { sed -n 4,5p "$0"; exit 2; }
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT && mkdir "$work/mutants" && cp "$runner" "$work/run.sh"
for diff in "$(dirname "$runner")"/mutants/*.diff; do git -C "$1" apply --check "$diff" 2>/dev/null && cp "$diff" "$work/mutants/" || true; done
cp "$here"/*.diff "$work/mutants/" && bash "$work/run.sh" "${options[@]}" "$@"
