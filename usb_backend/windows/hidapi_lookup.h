/* SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
 * SPDX-License-Identifier: GPL-3.0-or-later */

/* Included ahead of hidapi's windows/hid.c (-include): its run-time lookups
 * of hid.dll and cfgmgr32.dll go through QorunHidapiLookup. */
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Input reports the system keeps for each handle hidapi opens. */
#define QORUN_INPUT_BUFFERS 512
/* How long a write may take before it is given up, in place of hidapi's 1 s:
 * past the 5 s after which Linux's USB HID driver refuses it, so a unit that
 * stops taking reports is told by the same rule on both systems, and a unit
 * merely held up on a busy machine is not taken for one. */
#define QORUN_WRITE_WAIT_MS 6000

/* GetProcAddress, but a cfgmgr32 function hidapi can do without that the
 * system lacks is stood in for by one that always fails, and the number of
 * input buffers hidapi asks for is raised to QORUN_INPUT_BUFFERS. */
FARPROC QorunHidapiLookup(HMODULE module, LPCSTR name);
/* WaitForSingleObject, but hidapi's wait for a write (its only 1000 ms wait;
 * reads wait as long as their caller asks, which here is less) lasts
 * QORUN_WRITE_WAIT_MS. */
DWORD QorunHidapiWait(HANDLE handle, DWORD milliseconds);

#ifdef __cplusplus
}
#endif

#ifdef QORUN_HIDAPI_LOOKUP
#define GetProcAddress QorunHidapiLookup
#define WaitForSingleObject QorunHidapiWait
#endif
