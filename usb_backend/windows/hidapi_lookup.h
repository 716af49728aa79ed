/* SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
 * SPDX-License-Identifier: GPL-3.0-or-later */

/* Included ahead of hidapi's windows/hid.c (-include): its run-time lookups
 * of hid.dll and cfgmgr32.dll go through QorunHidapiLookup. */
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* GetProcAddress, but a cfgmgr32 function hidapi can do without that the
 * system lacks is stood in for by one that always fails. */
FARPROC QorunHidapiLookup(HMODULE module, LPCSTR name);

#ifdef __cplusplus
}
#endif

#ifdef QORUN_HIDAPI_LOOKUP
#define GetProcAddress QorunHidapiLookup
#endif
