// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The Windows tool under Wine, and a window_probe serving commands on its
// window from another process, as wine_guest.sh runs them in the guest.
// Paths from the arguments --wine=, --tool= and --probe=.

#include <QProcess>

#include "tool_session.h"

// A served program's answer to one command, without its closing "."; "(no
// answer)" when it gave none.
inline QStringList Ask(QProcess& served, const QString& command) {
    served.write((command + "\n").toUtf8());
    QStringList lines;
    while (WaitUntil([&] { return served.canReadLine() || served.state() == QProcess::NotRunning; }) &&
           served.canReadLine()) {
        const QString line = QString::fromUtf8(served.readLine()).trimmed();
        if (line == ".") return lines;
        lines << line;
    }
    return {"(no answer)"};
}

class WineWindow {
public:
    WineWindow() {
        tool_.setProcessChannelMode(QProcess::ForwardedChannels);
        tool_.start(Given("wine"), {Given("tool")});
        probe_.start(Given("wine"), {Given("probe"), "serve"});
    }
    ~WineWindow() {
        probe_.closeWriteChannel();  // its end
        tool_.kill();
        tool_.waitForFinished();
        probe_.waitForFinished();
    }

    QStringList Ask(const QString& command) { return ::Ask(probe_, command); }
    // Wine runs the Windows program in the process it started as.
    qint64 ToolPid() const { return tool_.processId(); }
    // A control's text ("name left top right bottom visible text"), "" while hidden.
    QString Text(const QString& name) {
        for (const QString& line : Ask("controls"))
            if (line.section(' ', 0, 0) == name) return line.section(' ', 5, 5) == "1" ? line.section(' ', 6) : "";
        return "(no " + name + ")";
    }
    // Polls every `pace`, which leaves the guest's one CPU to Wine meanwhile.
    static bool Polled(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::minutes(3),
                       std::chrono::milliseconds pace = std::chrono::milliseconds(200)) {
        return WaitUntil([&] { return done() || (Settle(pace), false); }, limit);
    }

private:
    QProcess tool_, probe_;
};
