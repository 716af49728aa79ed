// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A backend's events as Qt delivers them to the window: in order, none once
// dropped, none to a window that is gone.

#include "device_link/window_event_sink.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/device_event_recorder.h"

TEST(QtWindowEventSink, PostsInOrderDropsWhatIsPendingAndNeverReachesAGoneWindow)
{
    const std::unique_ptr<DeviceEventSink> sink = PostToWindow();
    DeviceEventRecorder window;
    sink->Target(window.Handle());
    sink->Post(EventPlugged, 3);
    sink->Post(EventChanged, 0);
    window.Flush();
    EXPECT_EQ(window.Events(), (RecordedEvents{{EventPlugged, 3}, {EventChanged, 0}}));

    window.Clear();
    sink->Post(EventRead, 3);
    sink->DropPending();
    window.Flush();
    EXPECT_EQ(window.Events(), RecordedEvents{});

    auto gone = std::make_unique<DeviceEventRecorder>();
    sink->Target(gone->Handle());
    gone.reset();
    sink->Post(EventRead, 3);  // must not touch the destroyed window
    sink->DropPending();
    QCoreApplication::processEvents();
}
