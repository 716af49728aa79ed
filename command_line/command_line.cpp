// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/command_line.h"

#include <QCommandLineParser>

#include <map>
#include <set>

#include "command_line/field_values.h"
#include "command_line/provision_run.h"
#include "command_line/unit_commands.h"
#include "protocol/report_layout.h"

namespace {

struct CommandInfo {
    QString syntax;       // after the command name
    QString summary;
    QStringList options;  // names of the options it takes
};

const std::map<QString, CommandInfo>& Commands()
{
    static const std::map<QString, CommandInfo> commands{
        {QStringLiteral("list"), {QString(), QStringLiteral("List every attached unit and whether it can be opened."), {}}},
        {QStringLiteral("show"),
         {QStringLiteral("[--zone N | --all] [--json]"),
          QStringLiteral("Ask the unit for zone N (default: all zones) and print the operator, phone and text."),
          {QStringLiteral("device"), QStringLiteral("zone"), QStringLiteral("all"), QStringLiteral("json")}}},
        {QStringLiteral("send"),
         {QStringLiteral("--zone N --operator NAME|NUMBER [--pin PIN] --phone P --text T [--dry-run]"),
          QStringLiteral("Write one zone's configuration into the unit."),
          {QStringLiteral("device"), QStringLiteral("zone"), QStringLiteral("operator"), QStringLiteral("pin"),
           QStringLiteral("phone"), QStringLiteral("text"), QStringLiteral("dry-run")}}},
        {QStringLiteral("backup"),
         {QStringLiteral("FILE"), QStringLiteral("Read all four zones into a JSON file (no PIN: the unit never sends it)."),
          {QStringLiteral("device")}}},
        {QStringLiteral("restore"),
         {QStringLiteral("FILE [--pin PIN] [--verify]"),
          QStringLiteral("Check the whole file, then upload each zone in it; --verify reads them back and compares."),
          {QStringLiteral("device"), QStringLiteral("pin"), QStringLiteral("verify")}}},
        {QStringLiteral("provision"),
         {QStringLiteral("FILE [--pin PIN] [--count N] [--log LOG]"),
          QStringLiteral("Check the whole file, then restore and verify it on each unit as it is plugged in,\n"
                         "      one at a time and once per plug-in; a line per unit. Ends after N units, or\n"
                         "      after the unit under way on SIGINT or SIGTERM."),
          {QStringLiteral("pin"), QStringLiteral("count"), QStringLiteral("log")}}},
    };
    return commands;
}

QString Description()
{
    QString text = QStringLiteral(
        "Show, send, back up and restore the configuration of a Velbrix SMS alarm unit, or provision a\n"
        "bench of units.\n\nCommands:\n");
    for (const auto& [name, info] : Commands())
        text += QStringLiteral("  %1 %2\n      %3\n").arg(name, info.syntax, info.summary);
    text += QStringLiteral(
        "\nA zone's read-back ends %1 ms after the unit's last report; no report within %2 ms is an error.\n"
        "restore --verify and provision, knowing what each zone should hold, wait up to %2 ms between\n"
        "reports while an answer is still shorter than that.\n"
        "A line break in --text is \\n (sent as CR LF, counting two of the 49 units); JSON and backup\n"
        "files hold texts exactly as the unit does, a line break as \\r\\n.\n"
        "provision gives up on a unit that sends nothing for %2 ms after a read-back request or keeps\n"
        "sending for %3 ms (no answer), or that stays plugged in %4 ms after a write was refused (stopped\n"
        "taking reports; the kernel refuses a write after about 5 s), and serves the next unit.\n"
        "Exit status: 0 ok, 2 bad arguments or file (nothing sent), 3 no unit, unit gone or no answer,\n"
        "4 verify found differences, or a unit provision served was not ok.");
    const ReadBackTimings timings;
    return text.arg(timings.quiet.count())
        .arg(timings.firstAnswer.count())
        .arg(timings.longest.count())
        .arg(timings.unplugNotice.count());
}

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the version.")};
    QCommandLineOption device{QStringLiteral("device"),
                              QStringLiteral("Use the unit on this hidraw node (needed when several are attached)."),
                              QStringLiteral("NODE")};
    QCommandLineOption zone{QStringLiteral("zone"), QStringLiteral("Zone 1 to 4."), QStringLiteral("N")};
    QCommandLineOption all{QStringLiteral("all"), QStringLiteral("All four zones (show's default).")};
    QCommandLineOption json{QStringLiteral("json"), QStringLiteral("Print JSON instead of text.")};
    QCommandLineOption op{QStringLiteral("operator"),
                          QStringLiteral("MOVISTAR, AMENA, VODAFONE, YOIGO or a service-centre number."),
                          QStringLiteral("NAME|NUMBER")};
    QCommandLineOption pin{QStringLiteral("pin"), QStringLiteral("SIM PIN, up to 4 characters; without it the unit keeps its PIN."),
                           QStringLiteral("PIN")};
    QCommandLineOption phone{QStringLiteral("phone"), QStringLiteral("Destination phone, up to 9 characters."),
                             QStringLiteral("P")};
    QCommandLineOption text{QStringLiteral("text"), QStringLiteral("SMS text, up to 49 UTF-16 units."),
                            QStringLiteral("T")};
    QCommandLineOption dryRun{QStringLiteral("dry-run"),
                              QStringLiteral("Print the reports (9 bytes in hex, one per line) and send nothing.")};
    QCommandLineOption verify{QStringLiteral("verify"), QStringLiteral("Read every zone back and report each field that differs.")};
    QCommandLineOption count{QStringLiteral("count"), QStringLiteral("Provision this many units, then end."),
                             QStringLiteral("N")};
    QCommandLineOption log{QStringLiteral("log"),
                           QStringLiteral("Append one JSON object per unit to this file, on disk after each unit."),
                           QStringLiteral("LOG")};

    QList<QCommandLineOption> All() const
    {
        return {help, version, device, zone, all, json, op, pin, phone, text, dryRun, verify, count, log};
    }
};

Failure Usage(const QString& message)
{
    return {ExitBadInput, message.toStdString() + "\n(see velbrix-qorun-cli --help)\n"};
}

// One value checked by `parse`, or the failure it reported.
template <typename T, typename Parse>
std::optional<T> Checked(const QString& value, Parse parse, Failure& failure)
{
    QString error;
    auto result = parse(value, error);
    if (!result)
        failure = {ExitBadInput, error.toStdString() + "; nothing sent\n"};
    return result;
}

int RunSend(CommandContext& context, const QCommandLineParser& parser, const Options& o)
{
    for (const QCommandLineOption* required : {&o.zone, &o.op, &o.phone, &o.text})
        if (!parser.isSet(*required))
            return Fail(context, Usage(QStringLiteral("send needs --%1").arg(required->names().constLast())));
    Failure failure;
    SendValues values;
    const auto zone = Checked<std::int32_t>(parser.value(o.zone), ParseZone, failure);
    const auto smsc = zone ? Checked<std::int32_t>(parser.value(o.op), ParseOperator, failure) : std::nullopt;
    const auto pin = smsc ? Checked<std::u16string>(parser.value(o.pin), ParsePin, failure) : std::nullopt;
    const auto phone = pin ? Checked<std::u16string>(parser.value(o.phone), ParsePhone, failure) : std::nullopt;
    const auto text = phone ? Checked<std::u16string>(parser.value(o.text), ParseText, failure) : std::nullopt;
    if (!text)
        return Fail(context, failure);
    if (context.argumentsOnly)
        return ExitOk;
    values = {*zone, *smsc, *pin, *phone, *text};
    if (parser.isSet(o.dryRun))
        return PrintDryRun(context, values);
    return SendZone(context, parser.value(o.device).toStdString(), values);
}

int RunShow(CommandContext& context, const QCommandLineParser& parser, const Options& o)
{
    if (parser.isSet(o.zone) && parser.isSet(o.all))
        return Fail(context, Usage(QStringLiteral("show takes --zone or --all, not both")));
    std::vector<std::int32_t> zones;
    if (parser.isSet(o.zone)) {
        Failure failure;
        const auto zone = Checked<std::int32_t>(parser.value(o.zone), ParseZone, failure);
        if (!zone)
            return Fail(context, failure);
        zones.push_back(*zone);
    } else {
        for (const ZoneEntry& entry : ZoneTable)
            zones.push_back(entry.zone);
    }
    if (context.argumentsOnly)
        return ExitOk;
    return ShowZones(context, parser.value(o.device).toStdString(), zones, parser.isSet(o.json));
}

int RunProvision(CommandContext& context, const QCommandLineParser& parser, const Options& o)
{
    Failure failure;
    ProvisionRequest request;
    const auto pin = Checked<std::u16string>(parser.value(o.pin), ParsePin, failure);
    if (!pin)
        return Fail(context, failure);
    std::optional<std::size_t> count = 0;
    if (parser.isSet(o.count))
        count = Checked<std::size_t>(parser.value(o.count), ParseCount, failure);
    if (!count)
        return Fail(context, failure);
    if (parser.isSet(o.log) && parser.value(o.log).isEmpty())
        return Fail(context, Usage(QStringLiteral("--log needs a file name")));
    if (context.argumentsOnly)
        return ExitOk;
    std::optional<RestorePlan> plan;
    if (const int read = ReadBackupFile(context, parser.positionalArguments().at(1), plan); read != ExitOk)
        return read;
    request = {std::move(*plan), *pin, *count, parser.value(o.log)};
    return ProvisionUnits(context, request);
}

}  // namespace

int RunCommandLine(const QStringList& arguments, CommandContext& context)
{
    const Options o;
    QCommandLineParser parser;
    parser.setApplicationDescription(Description());
    parser.addOptions(o.All());
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("list, show, send, backup, restore or provision."),
                                 QStringLiteral("command [arguments]"));
    if (!parser.parse(arguments))
        return Fail(context, Usage(parser.errorText()));
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(o.help)) {
        context.out << parser.helpText().toStdString() << std::flush;
        return ExitOk;
    }
    if (parser.isSet(o.version)) {
        context.out << "velbrix-qorun-cli " << QORUN_VERSION << "\n" << std::flush;
        return ExitOk;
    }
    if (positional.isEmpty())
        return Fail(context, Usage(QStringLiteral("no command given")));
    const QString command = positional.front();
    const auto found = Commands().find(command);
    if (found == Commands().end())
        return Fail(context, Usage(QStringLiteral("unknown command '%1'").arg(command)));
    for (const QString& name : parser.optionNames()) {
        const QCommandLineOption* option = nullptr;
        for (const QCommandLineOption& candidate : o.All())
            if (candidate.names().contains(name))
                option = &candidate;
        const QString longName = option != nullptr ? option->names().constLast() : name;
        if (!found->second.options.contains(longName))
            return Fail(context, Usage(QStringLiteral("%1 does not take --%2").arg(command, longName)));
    }
    for (const QCommandLineOption& option : o.All())
        if (parser.values(option).size() > 1)
            return Fail(context, Usage(QStringLiteral("--%1 given more than once").arg(option.names().constLast())));
    const bool takesFile = found->second.syntax.startsWith(QLatin1String("FILE"));
    const qsizetype expected = takesFile ? 2 : 1;
    if (positional.size() != expected)
        return Fail(context, Usage(takesFile ? QStringLiteral("%1 needs one FILE").arg(command)
                                               : QStringLiteral("%1 takes no further arguments").arg(command)));

    const std::string device = parser.value(o.device).toStdString();
    if (command == QLatin1String("provision"))
        return RunProvision(context, parser, o);
    // list and backup have nothing more to check.
    if (context.argumentsOnly && (command == QLatin1String("list") || command == QLatin1String("backup")))
        return ExitOk;
    if (command == QLatin1String("list"))
        return ListUnits(context);
    if (command == QLatin1String("show"))
        return RunShow(context, parser, o);
    if (command == QLatin1String("send"))
        return RunSend(context, parser, o);
    if (command == QLatin1String("backup"))
        return BackupZones(context, device, positional.at(1));
    Failure failure;
    const auto pin = Checked<std::u16string>(parser.value(o.pin), ParsePin, failure);
    if (!pin)
        return Fail(context, failure);
    if (context.argumentsOnly)
        return ExitOk;
    return RestoreZones(context, device, positional.at(1), *pin, parser.isSet(o.verify));
}
