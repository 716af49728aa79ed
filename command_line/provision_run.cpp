// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/provision_run.h"

#include <condition_variable>
#include <mutex>
#include <optional>

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
        std::unique_lock lock(mutex_);
        while (true) {
            // Arrivals and signals so far.
            if (stopping_ || (request_.count != 0 && served_ == request_.count))
                break;
            if (const std::optional<ArrivedUnit> unit = queue_.Next()) {
                // What comes while a unit is served is looked at after it.
                lock.unlock();
                Serve(*unit);
                lock.lock();
                continue;
            }
            if (context_.progress && !prompted_) {
                prompted_ = true;
                lock.unlock();  // whoever reads err may plug a unit in
                context_.err << "plug in the next unit (Ctrl-C ends)\n" << std::flush;
                lock.lock();
                continue;  // what came meanwhile first
            }
            prompted_ = true;
            woken_.wait(lock);
        }
        lock.unlock();
        context_.arrivals->Stop();
        context_.out << served_ << (served_ == 1 ? " unit" : " units") << " provisioned: " << served_ - failed_
                     << " ok, " << failed_ << " failed\n"
                     << std::flush;
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

    void Serve(const ArrivedUnit& unit)
    {
        prompted_ = false;
        const auto started = std::chrono::steady_clock::now();
        const auto progress = [&](const std::string& step) {
            if (context_.progress)
                context_.err << "provision " << unit.devnode << ": " << step << "\n" << std::flush;
        };
        ServedUnit served{unit, ProvisionUnit(context_.units.Open(unit.devnode), request_.plan, request_.pin,
                                              context_.timings, context_.units.AccessFix(), progress)};
        served.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        ++served_;
        if (served.outcome.result != UnitOutcome::Result::Ok)
            ++failed_;
        context_.out << UnitLine(served) << "\n" << std::flush;
        std::string error;
        const std::string time = UtcTime(std::chrono::system_clock::now());
        if (log_ != nullptr && !log_->Append(UnitRecord(served, time), error))
            context_.err << "velbrix-qorun-cli: cannot write the log " << request_.logPath << ": " << error << "\n"
                         << std::flush;
    }

    CommandContext& context_;
    const ProvisionRequest& request_;
    ProvisionLog* log_;
    std::mutex mutex_;  // guards the queue and stopping_
    std::condition_variable woken_;
    ArrivalQueue queue_;
    bool stopping_ = false;
    bool prompted_ = false;  // since the last unit
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
