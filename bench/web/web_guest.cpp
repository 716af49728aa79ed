// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "web_guest.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

namespace fs = std::filesystem;

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        pollfd none{};
        poll(&none, 0, 20);
    }
    return true;
}

std::string PrepareChromiumGuest(int port, int vendorId, int productId) {
    if (std::system("ip link set lo up") != 0) return "cannot bring up lo";
    // What the host put in /etc/chromium stays, on a tmpfs laid over it.
    const fs::path etc = "/etc/chromium";
    std::map<std::string, std::string> kept;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(etc, error))
        if (entry.is_regular_file()) {
            std::ostringstream text;
            text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
            kept[entry.path().filename()] = text.str();
        }
    if (mount("tmpfs", etc.c_str(), "tmpfs", 0, "mode=0755") != 0)
        return std::string("cannot mount a tmpfs on /etc/chromium: ") + std::strerror(errno);
    for (const auto& [name, text] : kept) std::ofstream(etc / name, std::ios::binary) << text;
    fs::create_directories(etc / "policies/managed", error);
    const nlohmann::json policy = {
        {"WebHidAllowDevicesForUrls",
         {{{"devices", {{{"vendor_id", vendorId}, {"product_id", productId}}}},
           {"urls", {"http://localhost:" + std::to_string(port)}}}}}};
    std::ofstream(etc / "policies/managed/qorun_webhid.json") << policy.dump(2);
    return fs::exists(etc / "policies/managed/qorun_webhid.json") ? "" : "cannot write the policy";
}

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string Tail(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    const std::string all = text.str();
    return all.size() > 4000 ? all.substr(all.size() - 4000) : all;
}

bool Listening(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

}  // namespace

bool PageServer::Start(const std::string& root, int port, const std::string& logPath,
                       std::chrono::milliseconds limit) {
    const std::string portText = std::to_string(port);
    const char* argv[] = {"/usr/bin/emrun", "--no_browser", "--no_emrun_detect", "--hostname", "localhost",
                          "--port", portText.c_str(), "--serve_root", root.c_str(), root.c_str(), nullptr};
    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) { dup2(log, 1); dup2(log, 2); }
        execv(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    int status = 0;
    bool exited = false;
    WaitFor([&] { return Listening(port) || (exited = waitpid(pid_, &status, WNOHANG) == pid_); }, limit);
    if (exited) pid_ = -1;  // reaped: nothing left to stop
    return !exited && Listening(port);
}

PageServer::~PageServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    if (!WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, std::chrono::seconds(10))) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
}

std::string GuestPage::Open(const std::string& root, const std::string& page, int port, int vendorId,
                            int productId, const std::string& logDir) {
    port_ = port;
    using namespace std::chrono_literals;
    if (auto error = PrepareChromiumGuest(port, vendorId, productId); !error.empty()) return error;
    const std::string emrunLog = logDir + "/emrun.log", chromiumLog = logDir + "/chromium.log";
    if (!server_.Start(root, port, emrunLog, 60s)) return "emrun did not listen:\n" + Tail(emrunLog);
    // Under TCG with one vCPU Chromium takes tens of seconds to start.
    const fs::path profile = fs::path(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") / "chromium-profile";
    fs::create_directories(profile);
    auto start = Clock::now();
    if (!page_.Start(profile, chromiumLog, 300s))
        return "Chromium did not answer: " + page_.Error() + "\n" + Tail(chromiumLog);
    browserStartMs_ = MsSince(start);
    start = Clock::now();
    // The new target alone takes about 30 s of it on an idle machine.
    if (!page_.Open(Url(page), 300s)) return "cannot open " + Url(page) + ": " + page_.Error();
    pageLoadMs_ = MsSince(start);
    return "";
}
