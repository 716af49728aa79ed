#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later
# install_msi.sh WINE_RUN PREFIX WINE MSI VERSION: installs the MSI silently
# into a fresh prefix, checks what it put where and starts the installed tool,
# uninstalls it and checks that nothing of it is left, in files or registry.
set -euo pipefail
wine_run=$1 prefix=$2 wine=$3 msi=$4 version=$5
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { "$wine_run" "$prefix" "$wine" "$@" | tr -d '\r'; }
# The server of an earlier run must not outlive its prefix.
WINEPREFIX=$prefix "${wine}server" -k 2>/dev/null || true
rm -rf "$prefix" "$prefix.display"
run cmd /c exit
dir="$prefix/drive_c/Program Files/Velbrix Qorun"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# Wine puts a per-machine install's shortcuts in the user's Programs, Windows
# in the one for all users: either will do.
menus=("$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
       "$prefix"/drive_c/users/*/"AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
seconds() { local t0=${EPOCHREALTIME/./} d; "$@" || return; d=$((${EPOCHREALTIME/./} - t0)); printf %d.%d $((d / 1000000)) $((d / 100000 % 10)); }

took=$(seconds run msiexec /i "$msi" /qn) || fail "msiexec /i exited non-zero"
echo "installed in $took s"
for f in main_window/velbrix-qorun.exe main_window/velbrix-qorun-demo.exe command_line/velbrix-qorun-cli.exe; do
  cmp -s "$dir/${f#*/}" "$(dirname "$msi")/$f" || fail "${f#*/} not installed"
done
grep -q 'GNU GENERAL PUBLIC LICENSE' "$dir/COPYING.txt" || fail "no licence beside the programs"
for pair in 'Velbrix Qorun:velbrix-qorun.exe' 'Velbrix Qorun (demo):velbrix-qorun-demo.exe'; do
  lnk=$(find "${menus[@]}" -maxdepth 1 -name "${pair%%:*}.lnk" 2>/dev/null | head -n1)
  [ -n "$lnk" ] || fail "no Start-menu shortcut ${pair%%:*}"
  # Paths in a .lnk are ANSI or UTF-16: without the NULs both read as ASCII.
  text=$(tr -d '\0' <"$lnk")
  grep -qF "Velbrix Qorun\\${pair#*:}" <<<"$text" && grep -qF 'velbrix-qorun.ico' <<<"$text" ||
    fail "${pair%%:*} does not start ${pair#*:} with the tool's icon"
done
key=$(run reg query "$uninstall" /s | awk '/^HKEY/ { k = $0 } /^ +DisplayName +REG_SZ +Velbrix Qorun$/ { print k }')
[ -n "$key" ] || fail "no entry in the installed-programs list"
entry=$(run reg query "$key")
grep -Eq "DisplayVersion +REG_SZ +$version\$" <<<"$entry" && grep -Eq 'Publisher +REG_SZ +Velbrix Qorun developers$' <<<"$entry" ||
  fail "the entry's version or publisher is wrong: $entry"
# The list shows the product's icon that ARPPRODUCTICON names.
icon=$(run reg query 'HKLM\Software\Classes\Installer\Products' /s | awk '/^HKEY/ { i = n = "" }
  sub(/^ +ProductIcon +REG_SZ +C:./, "") { i = $0 } /^ +ProductName +REG_SZ +Velbrix Qorun$/ { n = 1 }
  i && n { gsub(/\\/, "/", i); print i; exit }')
[ -n "$icon" ] && [ -s "$prefix/drive_c/$icon" ] || fail "no product icon for the installed-programs list"
environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
path_of() { run reg query "$environment" /v Path | sed -n 's/^ *Path *REG_[A-Z_]* *//p'; }
grep -qiF 'C:\Program Files\Velbrix Qorun' <<<"$(path_of)" || fail "the install folder is not on the system PATH"
# Started by their names alone, as from a new Command Prompt.
run cmd /c velbrix-qorun.exe --benchmark || fail "the installed tool, started by its name, exited non-zero"
run cmd /c velbrix-qorun-cli --version | grep -q . || fail "the installed command line, called by its name, said nothing"

took=$(seconds run msiexec /x "$msi" /qn) || fail "msiexec /x exited non-zero"
echo "uninstalled in $took s"
# Stopping the server writes the registry out to the prefix's files.
WINEPREFIX=$prefix "${wine}server" -k || true
grep -qiF 'Velbrix Qorun' <<<"$(path_of)" && fail "the install folder is still on the system PATH"
left=$(find "$prefix/drive_c" -iname '*velbrix*'; grep -il velbrix "$prefix"/*.reg || true)
[ -z "$left" ] || fail "left behind: $left"
