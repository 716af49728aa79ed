// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/provision_run.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "command_line/arrival_queue.h"
#include "command_line/provision_report.h"
#include "command_line/termination_signals.h"
#include "command_line/unit_commands.h"

namespace {

class Bench : private UnitArrivalListener {
public:
    Bench(CommandContext& context, const ProvisionRequest& request, ProvisionLog* log)
        : context_(context), request_(request), log_(log)
    {
    }

    int Run()
    {
        const TerminationSignals termination([this] {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
            woken_.notify_one();
        });
        if (!context_.arrivals->Start(*this)) {
            context_.arrivals->Stop();
            return Fail(context_, {ExitNoUnit, "cannot watch for units being plugged in\n"});
        }
        const auto busy = [this](const std::string& devnode) { return underWay_.contains(devnode); };
        std::unique_lock lock(mutex_);
        while (true) {
            JoinEnded();
            // Arrivals, ends and signals so far.
            const bool more = !stopping_ && (request_.count == 0 || served_ + underWay_.size() < request_.count);
            if (!more && underWay_.empty())
                break;
            const bool room = request_.parallel == 0 || underWay_.size() < request_.parallel;
            if (more && room) {
                if (const std::optional<ArrivedUnit> unit = queue_.Next(busy)) {
                    Start(*unit);
                    continue;
                }
            }
            if (context_.progress && !prompted_ && underWay_.empty()) {
                prompted_ = true;
                lock.unlock();  // whoever reads err may plug a unit in
                Say(context_.err, "plug in the next unit (Ctrl-C ends)\n");
                lock.lock();
                continue;  // what came meanwhile first
            }
            woken_.wait(lock);
        }
        lock.unlock();
        context_.arrivals->Stop();
        Say(context_.out, std::to_string(served_) + (served_ == 1 ? " unit" : " units") + " provisioned: " +
                              std::to_string(served_ - failed_) + " ok, " + std::to_string(failed_) + " failed\n");
        return failed_ == 0 ? ExitOk : ExitDifferences;
    }

private:
    // From the watch's thread, in order.
    void Arrived(const ArrivedUnit& unit) override
    {
        const std::lock_guard lock(mutex_);
        queue_.Arrived(unit);
        woken_.notify_one();
    }
    void Left(const std::string& devnode) override
    {
        const std::lock_guard lock(mutex_);
        queue_.Left(devnode);
        woken_.notify_one();
    }

    // Under mutex_. The worker cannot end before it is in underWay_: it
    // needs the mutex for that.
    void Start(const ArrivedUnit& unit)
    {
        prompted_ = false;
        underWay_.emplace(unit.devnode, std::thread([this, unit] { Ended(unit.devnode, Serve(unit)); }));
    }

    // Under mutex_; each worker here has done all it needs the mutex for.
    void JoinEnded()
    {
        for (std::thread& worker : ended_)
            worker.join();
        ended_.clear();
    }

    // A whole line or more, not mixed with another thread's.
    void Say(std::ostream& stream, const std::string& text)
    {
        const std::lock_guard lock(output_);
        stream << text << std::flush;
    }

    // On the unit's own thread, with its own link, let go once the unit's
    // line and record are out and before the node may be served again.
    bool Serve(const ArrivedUnit& unit)
    {
        const auto started = std::chrono::steady_clock::now();
        const auto progress = [&](const std::string& step) {
            if (context_.progress)
                Say(context_.err, "provision " + unit.devnode + ": " + step + "\n");
        };
        const std::shared_ptr<HidLibrary> library = context_.units.Open(unit.devnode);
        // Detached after the line: the link's teardown waits out its reader.
        ConnectedUnit connected(*library, context_.timings);
        ServedUnit served{unit, ProvisionUnit(connected, *library, request_.plan, request_.pin, context_.timings,
                                              context_.units.AccessFix(), progress)};
        served.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        const std::lock_guard lock(output_);
        context_.out << UnitLine(served) << "\n" << std::flush;
        std::string error;
        const std::string time = UtcTime(std::chrono::system_clock::now());
        if (log_ != nullptr && !log_->Append(UnitRecord(served, time), error))
            context_.err << "velbrix-qorun-cli: cannot write the log " << request_.logPath << ": " << error << "\n"
                         << std::flush;
        return served.outcome.result == UnitOutcome::Result::Ok;
    }

    void Ended(const std::string& devnode, bool ok)
    {
        const std::lock_guard lock(mutex_);
        ++served_;
        if (!ok)
            ++failed_;
        ended_.push_back(std::move(underWay_.extract(devnode).mapped()));
        woken_.notify_one();
    }

    CommandContext& context_;
    const ProvisionRequest& request_;
    ProvisionLog* log_;
    std::mutex output_;  // one writer at a time on out, err and the log; taken before mutex_, never under it
    std::mutex mutex_;   // guards everything below
    std::condition_variable woken_;
    ArrivalQueue queue_;
    std::map<std::string, std::thread> underWay_;  // by node
    std::vector<std::thread> ended_;  // done, to be joined
    bool stopping_ = false;
    bool prompted_ = false;  // since a unit last started
    std::size_t served_ = 0;
    std::size_t failed_ = 0;
};

}  // namespace

int ProvisionUnits(CommandContext& context, const ProvisionRequest& request)
{
    ProvisionLog log;
    std::string error;
    if (!request.logPath.empty() && !log.Open(request.logPath, error))
        return Fail(context, {ExitBadInput, "cannot write " + request.logPath + ": " + error + "; nothing sent\n"});
    if (context.arrivals == nullptr)
        return Fail(context, {ExitNoUnit, "cannot watch for units being plugged in\n"});
    Bench bench(context, request, request.logPath.empty() ? nullptr : &log);
    return bench.Run();
}
