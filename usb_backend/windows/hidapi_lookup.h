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

/* GetProcAddress, but a cfgmgr32 function hidapi can do without that the
 * system lacks is stood in for by one that always fails, and the number of
 * input buffers hidapi asks for is raised to QORUN_INPUT_BUFFERS. */
FARPROC QorunHidapiLookup(HMODULE module, LPCSTR name);

#ifdef __cplusplus
}
#endif

#ifdef QORUN_HIDAPI_LOOKUP
#define GetProcAddress QorunHidapiLookup
#endif
