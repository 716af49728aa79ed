// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The unit model as a kernel-attached virtual unit holds it: a serving thread
// applies what arrives while a test reads the memory and the log, so every
// look at the model takes the lock.

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "virtual_unit/alarm_unit_model.h"

class HostedModel {
public:
    std::string Error() const {
        std::lock_guard lock(mutex_);
        return error_;
    }

    // Output reports received, in order, as the model logged them.
    std::vector<WireReport> Log() const {
        std::lock_guard lock(mutex_);
        return model_.Log();
    }
    std::size_t LogSize() const {
        std::lock_guard lock(mutex_);
        return model_.Log().size();
    }
    void ClearLog() {
        std::lock_guard lock(mutex_);
        model_.ClearLog();
    }

    // Runs `f` on the model while the serving thread is kept out, e.g. to
    // pre-load zones or read the memory.
    template <typename F>
    auto WithModel(F f) {
        std::lock_guard lock(mutex_);
        return f(model_);
    }

protected:
    // The answers to one output report of 8 bytes; none for any other size.
    std::vector<WireReport> Receive(const std::uint8_t* data, std::size_t size) {
        if (size != WireReport().size()) return {};
        WireReport wire{};
        std::copy(data, data + size, wire.begin());
        std::lock_guard lock(mutex_);
        return model_.Receive(wire);
    }

    mutable std::mutex mutex_;  // guards model_ and error_
    AlarmUnitModel model_;
    std::string error_;
};
