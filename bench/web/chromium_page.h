// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Headless Chromium driven over the DevTools protocol on its debugging pipe
// (fd 3 its input, fd 4 its output, each message JSON ended by a NUL). One
// page target, attached flat; events are read only while a call or a wait
// runs, so the client needs no thread of its own.

#include <sys/types.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

class ChromiumPage {
public:
    using Duration = std::chrono::milliseconds;

    ChromiumPage() = default;
    ~ChromiumPage();  // closes the browser, killing it if it lingers
    ChromiumPage(const ChromiumPage&) = delete;
    ChromiumPage& operator=(const ChromiumPage&) = delete;

    // Starts the browser with its profile in `profileDir` and waits until it
    // answers. Its own output goes to `logPath`.
    bool Start(const std::string& profileDir, const std::string& logPath, Duration limit);
    // Opens `url` in a new page target and waits for its load event.
    bool Open(const std::string& url, Duration limit);
    // Loads `url` in the same page, in place of what it shows.
    bool Navigate(const std::string& url, Duration limit);
    // The value of `js` (a promise is awaited); nullopt on an exception or
    // no answer in time, with the reason in Error().
    std::optional<nlohmann::json> Evaluate(const std::string& js, Duration limit);
    // Waits until the page has logged `text` to its console.
    bool WaitForConsole(const std::string& text, Duration limit);
    // The page's console messages so far, their arguments joined by spaces.
    const std::vector<std::string>& Console() const { return console_; }
    const std::string& Error() const { return error_; }

private:
    // Sends a command (to the page's session unless `browser`) and waits for
    // its answer; nullopt on an error answer, a closed pipe or the deadline.
    std::optional<nlohmann::json> Call(const std::string& method, const nlohmann::json& params, Duration limit,
                                       bool browser = false);
    // Reads and handles messages until `until` holds or the deadline passes.
    template <typename Done>
    bool Pump(Done until, Duration limit);
    bool ReadSome(Duration limit);
    void Handle(const nlohmann::json& message);
    bool Fail(const std::string& error);

    pid_t pid_ = -1;
    int toBrowser_ = -1, fromBrowser_ = -1;
    std::string buffer_, session_, error_;
    int nextId_ = 1;
    std::optional<nlohmann::json> answer_;  // the awaited call's
    int awaitedId_ = 0;
    bool loaded_ = false;
    std::vector<std::string> console_;
};
