// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/hid_identity.h"

bool SameIdentity(HidIdentity identity, std::int32_t vendorId, std::int32_t productId)
{
    return vendorId == identity.vendorId && productId == identity.productId;
}
