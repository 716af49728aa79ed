/* SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
 * SPDX-License-Identifier: GPL-3.0-or-later */

#include "hidapi_lookup.h"

#include <string.h>

/* hidapi resolves every function it may call when it starts and, when one is
 * missing, fails every call after: no unit is ever found. Wine's cfgmgr32
 * lacks CM_Get_Device_Interface_PropertyW, which hidapi asks only for a
 * device's bus details and goes without when the call fails. */
static DWORD WINAPI NoInterfaceProperty(const wchar_t* path, const void* key, ULONG* type, BYTE* buffer,
                                        ULONG* size, ULONG flags)
{
    (void)path, (void)key, (void)type, (void)buffer, (void)size, (void)flags;
    return 0x34; /* CR_CALL_NOT_IMPLEMENTED */
}

/* hidapi has the system keep 64 input reports per handle, dropping the oldest
 * when more come: a reader held back longer than 64 reports take, as on a
 * loaded machine serving a bench of units, would lose characters. Windows
 * keeps up to 512; where that is refused, what hidapi asked for. */
typedef BOOLEAN(WINAPI* SetNumInputBuffers)(HANDLE device, ULONG count);
static SetNumInputBuffers systemSetNumInputBuffers;

static BOOLEAN WINAPI MostInputBuffers(HANDLE device, ULONG count)
{
    return systemSetNumInputBuffers(device, QORUN_INPUT_BUFFERS) || systemSetNumInputBuffers(device, count);
}

FARPROC QorunHidapiLookup(HMODULE module, LPCSTR name)
{
    FARPROC found = GetProcAddress(module, name);
    if (found == NULL && strcmp(name, "CM_Get_Device_Interface_PropertyW") == 0)
        return (FARPROC)(void (*)(void))NoInterfaceProperty;  /* as GetProcAddress hands it out */
    if (found != NULL && strcmp(name, "HidD_SetNumInputBuffers") == 0) {
        systemSetNumInputBuffers = (SetNumInputBuffers)(void (*)(void))found;
        return (FARPROC)(void (*)(void))MostInputBuffers;
    }
    return found;
}

DWORD QorunHidapiWait(HANDLE handle, DWORD milliseconds)
{
    return WaitForSingleObject(handle, milliseconds == 1000 ? QORUN_WRITE_WAIT_MS : milliseconds);
}
