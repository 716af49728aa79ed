// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/provision_run.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>

#include <optional>

#include "command_line/arrival_queue.h"
#include "command_line/provision_report.h"
#include "command_line/termination_signals.h"
#include "command_line/unit_commands.h"

namespace {

class Bench : public QObject, private UnitArrivalListener {
public:
    Bench(CommandContext& context, const ProvisionRequest& request, ProvisionLog* log)
        : context_(context), request_(request), log_(log)
    {
    }

    int Run()
    {
        const TerminationSignals termination([this] {
            stopping_ = true;
            Wake();
        });
        if (!context_.arrivals->Start(*this)) {
            context_.arrivals->Stop();
            return Fail(context_, {ExitNoUnit, "cannot watch for units being plugged in\n"});
        }
        while (true) {
            QCoreApplication::processEvents();  // arrivals and signals so far
            if (stopping_ || (request_.count != 0 && served_ == request_.count))
                break;
            if (const std::optional<ArrivedUnit> unit = queue_.Next()) {
                Serve(*unit);
                continue;
            }
            if (context_.progress && !prompted_)
                context_.err << "plug in the next unit (Ctrl-C ends)\n" << std::flush;
            prompted_ = true;
            QEventLoop idle;
            idle_ = &idle;
            idle.exec();
            idle_ = nullptr;
        }
        context_.arrivals->Stop();
        context_.out << served_ << (served_ == 1 ? " unit" : " units") << " provisioned: " << served_ - failed_
                     << " ok, " << failed_ << " failed\n"
                     << std::flush;
        return failed_ == 0 ? ExitOk : ExitDifferences;
    }

private:
    // From the watch's thread: handed to this one, in order.
    void Arrived(const ArrivedUnit& unit) override
    {
        QMetaObject::invokeMethod(this, [this, unit] { queue_.Arrived(unit); Wake(); }, Qt::QueuedConnection);
    }
    void Left(const std::string& devnode) override
    {
        QMetaObject::invokeMethod(this, [this, devnode] { queue_.Left(devnode); Wake(); }, Qt::QueuedConnection);
    }

    void Wake()
    {
        if (idle_ != nullptr)
            idle_->quit();
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
        QString error;
        const QString time = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
        if (log_ != nullptr && !log_->Append(UnitRecord(served, time), error))
            context_.err << "velbrix-qorun-cli: cannot write the log " << request_.logPath.toStdString() << ": "
                         << error.toStdString() << "\n"
                         << std::flush;
    }

    CommandContext& context_;
    const ProvisionRequest& request_;
    ProvisionLog* log_;
    ArrivalQueue queue_;
    QEventLoop* idle_ = nullptr;  // set while waiting for a unit
    bool stopping_ = false;
    bool prompted_ = false;  // since the last unit
    std::size_t served_ = 0;
    std::size_t failed_ = 0;
};

}  // namespace

int ProvisionUnits(CommandContext& context, const ProvisionRequest& request)
{
    ProvisionLog log;
    QString error;
    if (!request.logPath.isEmpty() && !log.Open(request.logPath, error))
        return Fail(context, {ExitBadInput, "cannot write " + request.logPath.toStdString() + ": " +
                                                error.toStdString() + "; nothing sent\n"});
    if (context.arrivals == nullptr)
        return Fail(context, {ExitNoUnit, "cannot watch for units being plugged in\n"});
    Bench bench(context, request, request.logPath.isEmpty() ? nullptr : &log);
    return bench.Run();
}
