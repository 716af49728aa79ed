// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "virtual_unit/gadget_unit.h"

// A unit that unplugged itself after reading `read` of the host's `upload`
// (RemoveAfter), `drained` having waited at its endpoint: both are the
// upload's first reports in order, and the host's count `told` is what the
// endpoint took: no fewer than read and drained, and at most OutRequests more
// that landed between the drain and the unbind.
inline testing::AssertionResult EndpointTook(const std::vector<WireReport>& upload, std::vector<WireReport> read,
                                             const std::vector<WireReport>& drained, std::size_t told) {
    const std::size_t readCount = read.size(), taken = readCount + drained.size();
    read.insert(read.end(), drained.begin(), drained.end());
    const bool inOrder = taken <= upload.size() && std::equal(read.begin(), read.end(), upload.begin());
    if (inOrder && taken <= told && told <= std::min(taken + GadgetUnit::OutRequests, upload.size()))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the host was told " << told << " reports landed; the unit read " << readCount
                                       << " and drained " << drained.size()
                                       << (inOrder ? "" : ", not the upload's first reports in order");
}
