// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chromium_page.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

int MillisLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

// A console argument as the page would print it.
std::string Printed(const nlohmann::json& arg) {
    if (arg.contains("value")) return arg["value"].is_string() ? arg["value"].get<std::string>() : arg["value"].dump();
    return arg.value("description", arg.value("type", std::string("?")));
}

}  // namespace

ChromiumPage::~ChromiumPage() {
    if (pid_ <= 0) return;
    Call("Browser.close", nlohmann::json::object(), std::chrono::seconds(5), true);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    int status = 0;
    bool reaped = false;
    while (!(reaped = waitpid(pid_, &status, WNOHANG) == pid_) && Clock::now() < deadline) {
        pollfd none{};
        poll(&none, 0, 50);  // waitpid has no timeout of its own
    }
    // Its helpers share its process group: none may outlive the test.
    kill(-pid_, SIGKILL);
    if (!reaped) waitpid(pid_, &status, 0);
    close(toBrowser_);
    close(fromBrowser_);
}

bool ChromiumPage::Fail(const std::string& error) {
    error_ = error;
    return false;
}

bool ChromiumPage::Start(const std::string& profileDir, const std::string& logPath, Duration limit) {
    int toBrowser[2], fromBrowser[2];
    if (pipe2(toBrowser, O_CLOEXEC) != 0 || pipe2(fromBrowser, O_CLOEXEC) != 0)
        return Fail(std::string("pipe: ") + std::strerror(errno));
    const std::string profile = "--user-data-dir=" + profileDir;
    // No GPU, no sandbox (root in the guest), no first-run or update chatter.
    const char* argv[] = {"/usr/bin/chromium", "--headless=new", "--no-sandbox", "--remote-debugging-pipe",
                          "--disable-gpu", "--no-first-run", "--no-default-browser-check",
                          "--disable-background-networking", "--disable-component-update", "--disable-sync",
                          profile.c_str(), "about:blank", nullptr};
    pid_ = fork();
    if (pid_ < 0) return Fail(std::string("fork: ") + std::strerror(errno));
    if (pid_ == 0) {
        setpgid(0, 0);
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) { dup2(log, 1); dup2(log, 2); }
        // Out of the way of 3 and 4 first: a pipe end may already sit there.
        const int in = fcntl(toBrowser[0], F_DUPFD_CLOEXEC, 10), out = fcntl(fromBrowser[1], F_DUPFD_CLOEXEC, 10);
        dup2(in, 3);
        dup2(out, 4);
        execv(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    close(toBrowser[0]);
    close(fromBrowser[1]);
    toBrowser_ = toBrowser[1];
    fromBrowser_ = fromBrowser[0];
    return Call("Browser.getVersion", nlohmann::json::object(), limit, true).has_value();
}

bool ChromiumPage::Open(const std::string& url, Duration limit) {
    const auto deadline = Clock::now() + limit;
    const auto left = [&] { return Duration(MillisLeft(deadline)); };
    const auto target = Call("Target.createTarget", {{"url", "about:blank"}}, left(), true);
    if (!target) return false;
    const auto attached =
        Call("Target.attachToTarget", {{"targetId", (*target)["targetId"]}, {"flatten", true}}, left(), true);
    if (!attached) return false;
    session_ = (*attached)["sessionId"].get<std::string>();
    if (!Call("Page.enable", nlohmann::json::object(), left()) || !Call("Runtime.enable", nlohmann::json::object(), left()))
        return false;
    return Navigate(url, left());
}

bool ChromiumPage::Navigate(const std::string& url, Duration limit) {
    const auto deadline = Clock::now() + limit;
    const auto left = [&] { return Duration(MillisLeft(deadline)); };
    loaded_ = false;
    const auto navigated = Call("Page.navigate", {{"url", url}}, left());
    if (!navigated) return false;
    if (navigated->contains("errorText")) return Fail(url + ": " + (*navigated)["errorText"].get<std::string>());
    return Pump([&] { return loaded_; }, left());
}

std::optional<nlohmann::json> ChromiumPage::Evaluate(const std::string& js, Duration limit) {
    const auto answer =
        Call("Runtime.evaluate", {{"expression", js}, {"awaitPromise", true}, {"returnByValue", true}}, limit);
    if (!answer) return std::nullopt;
    if (answer->contains("exceptionDetails")) {
        const auto& details = (*answer)["exceptionDetails"];
        Fail(details.contains("exception") ? Printed(details["exception"]) : details.value("text", "exception"));
        return std::nullopt;
    }
    return (*answer)["result"].value("value", nlohmann::json());
}

bool ChromiumPage::WaitForConsole(const std::string& text, Duration limit) {
    return Pump([&] { return std::find(console_.begin(), console_.end(), text) != console_.end(); }, limit);
}

std::optional<nlohmann::json> ChromiumPage::Call(const std::string& method, const nlohmann::json& params,
                                                 Duration limit, bool browser) {
    if (toBrowser_ < 0) return Fail("Chromium is not running"), std::nullopt;
    nlohmann::json message = {{"id", nextId_}, {"method", method}, {"params", params}};
    if (!browser) message["sessionId"] = session_;
    const std::string text = message.dump() + '\0';
    for (std::size_t sent = 0; sent < text.size();) {
        const ssize_t n = write(toBrowser_, text.data() + sent, text.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Fail(method + ": cannot write to Chromium"), std::nullopt;
        sent += static_cast<std::size_t>(n);
    }
    awaitedId_ = nextId_++;
    answer_.reset();
    if (!Pump([&] { return answer_.has_value(); }, limit)) {
        error_ = method + ": " + error_;
        return std::nullopt;
    }
    if (answer_->contains("error")) return Fail(method + ": " + (*answer_)["error"].dump()), std::nullopt;
    return (*answer_)["result"];
}

template <typename Done>
bool ChromiumPage::Pump(Done until, Duration limit) {
    const auto deadline = Clock::now() + limit;
    while (!until()) {
        if (Clock::now() >= deadline) return Fail("no answer within " + std::to_string(limit.count()) + " ms");
        if (!ReadSome(Duration(MillisLeft(deadline)))) return false;
    }
    return true;
}

bool ChromiumPage::ReadSome(Duration limit) {
    pollfd ready{fromBrowser_, POLLIN, 0};
    const int polled = poll(&ready, 1, static_cast<int>(limit.count()));
    if (polled < 0 && errno != EINTR) return Fail(std::string("poll: ") + std::strerror(errno));
    if (polled <= 0) return true;
    char chunk[65536];
    const ssize_t n = read(fromBrowser_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) return true;
    if (n <= 0) return Fail("Chromium closed its pipe");
    buffer_.append(chunk, static_cast<std::size_t>(n));
    for (std::size_t end; (end = buffer_.find('\0')) != std::string::npos; buffer_.erase(0, end + 1))
        Handle(nlohmann::json::parse(buffer_.substr(0, end), nullptr, false));
    return true;
}

void ChromiumPage::Handle(const nlohmann::json& message) {
    if (!message.is_object()) return;
    if (message.value("id", 0) == awaitedId_ && awaitedId_ != 0) {
        answer_ = message;
        return;
    }
    const std::string method = message.value("method", "");
    if (message.value("sessionId", "") != session_) return;
    const auto& params = message.contains("params") ? message["params"] : nlohmann::json::object();
    if (method == "Page.loadEventFired") {
        loaded_ = true;
    } else if (method == "Runtime.consoleAPICalled") {
        std::string line;
        for (const auto& arg : params["args"]) line += (line.empty() ? "" : " ") + Printed(arg);
        console_.push_back(line);
    } else if (method == "Runtime.exceptionThrown") {
        console_.push_back("uncaught: " + params["exceptionDetails"].value("text", std::string()));
    }
}
