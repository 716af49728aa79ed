# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Every test binary runs with Qt's offscreen platform so no display is needed.
function(qorun_add_gtest target)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120  # under Wine the first listing boots the prefix
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    ${ARGN})
endfunction()
