// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <set>

#include "command_line/field_values.h"
#include "command_line/provision_run.h"
#include "command_line/unit_commands.h"
#include "protocol/report_layout.h"

namespace {

struct CommandInfo {
    std::string syntax;  // after the command name
    std::string summary;
    std::vector<std::string> options;  // names of the options it takes
};

const std::map<std::string, CommandInfo>& Commands()
{
    static const std::map<std::string, CommandInfo> commands{
        {"list", {"", "List every attached unit and whether it can be opened.", {}}},
        {"show",
         {"[--zone N | --all] [--json]",
          "Ask the unit for zone N (default: all zones) and print the operator, phone and text.",
          {"device", "zone", "all", "json"}}},
        {"send",
         {"--zone N --operator NAME|NUMBER [--pin PIN] --phone P --text T [--dry-run]",
          "Write one zone's configuration into the unit.",
          {"device", "zone", "operator", "pin", "phone", "text", "dry-run"}}},
        {"backup", {"FILE", "Read all four zones into a JSON file (no PIN: the unit never sends it).", {"device"}}},
        {"restore",
         {"FILE [--pin PIN] [--verify]",
          "Check the whole file, then upload each zone in it; --verify reads them back and compares.",
          {"device", "pin", "verify"}}},
        {"provision",
         {"FILE [--pin PIN] [--count N] [--parallel N] [--log LOG]",
          "Check the whole file, then restore and verify it on each unit as it is plugged in,\n"
          "      side by side with the units under way, once per plug-in; a line per unit as it\n"
          "      ends. Ends after N units, or after the units under way on SIGINT or SIGTERM.",
          {"pin", "count", "parallel", "log"}}},
    };
    return commands;
}

std::string Description()
{
    std::string text =
        "Show, send, back up and restore the configuration of a Velbrix SMS alarm unit, or provision a\n"
        "bench of units.\n\nCommands:\n";
    for (const auto& [name, info] : Commands())
        text += "  " + name + " " + info.syntax + "\n      " + info.summary + "\n";
    const ReadBackTimings timings;
    const std::string quiet = std::to_string(timings.quiet.count());
    const std::string first = std::to_string(timings.firstAnswer.count());
    const std::string longest = std::to_string(timings.longest.count());
    const std::string unplug = std::to_string(timings.unplugNotice.count());
    return text + "\nA zone's read-back ends once the unit has sent nothing for " + std::to_string(timings.gapsToEnd) +
           " times the longest gap between its\n"
           "reports, and at least " + quiet + " ms. No report within " + first +
           " ms is an error; the second is given as long.\n"
           "restore --verify and provision, knowing what each zone should hold, wait up to " + first +
           " ms between\n"
           "reports while an answer is still shorter than that, and end one that holds it all\n"
           "after " + std::to_string(timings.gapsToEndWhole) + " times that gap, and at least " +
           std::to_string(timings.quietWhole.count()) + " ms. One that came short is asked for once more\n"
           "before it is compared (a machine too busy to read reports in time loses some).\n"
           "A line break in --text is \\n (sent as CR LF, counting two of the 49 units); JSON and backup\n"
           "files hold texts exactly as the unit does, a line break as \\r\\n.\n"
           "provision gives up on a unit that sends nothing for " + first +
           " ms after a read-back request or keeps\n"
           "sending for " + longest + " ms (no answer), or that stays plugged in " + unplug +
           " ms after a write was refused (stopped\n"
           "taking reports; the kernel refuses a write after about 5 s); the units beside it go on meanwhile.\n"
           "Exit status: 0 ok, 2 bad arguments or file (nothing sent), 3 no unit, unit gone or no answer,\n"
           "4 verify found differences, or a unit provision served was not ok.";
}

struct OptionInfo {
    std::string name;       // long name, without dashes
    std::string valueName;  // empty: a flag
    std::string help;       // a line break where the help wraps it
};

// In the order the help lists them.
const std::vector<OptionInfo>& OptionTable()
{
    static const std::vector<OptionInfo> options{
        {"help", "", "Show this help."},
        {"version", "", "Show the version."},
        {"device", "NODE", "Use the unit on this hidraw node (needed when\nseveral are attached)."},
        {"zone", "N", "Zone 1 to 4."},
        {"all", "", "All four zones (show's default)."},
        {"json", "", "Print JSON instead of text."},
        {"operator", "NAME|NUMBER", "MOVISTAR, AMENA, VODAFONE, YOIGO or a\nservice-centre number."},
        {"pin", "PIN", "SIM PIN, up to 4 characters; without it the unit\nkeeps its PIN."},
        {"phone", "P", "Destination phone, up to 9 characters."},
        {"text", "T", "SMS text, up to 49 UTF-16 units."},
        {"dry-run", "", "Print the reports (9 bytes in hex, one per line)\nand send nothing."},
        {"verify", "", "Read every zone back and report each field that\ndiffers."},
        {"count", "N", "Provision this many units, then end."},
        {"parallel", "N", "Provision at most this many units at once; the\nothers wait their turn (default: no limit)."},
        {"log", "LOG", "Append one JSON object per unit to this file, on\ndisk as each unit ends."},
    };
    return options;
}

std::string HelpText(const std::string& program)
{
    const auto names = [](const OptionInfo& option) {
        std::string text = (option.name == "help" ? "-h, --" : "--") + option.name;
        return option.valueName.empty() ? text : text + " <" + option.valueName + ">";
    };
    std::size_t width = std::string("command").size();
    for (const OptionInfo& option : OptionTable())
        width = std::max(width, names(option).size());
    const auto row = [width](const std::string& left, const std::string& help) {
        std::string text = "  " + left + std::string(width + 2 - left.size(), ' ');
        for (const char c : help)
            text += c == '\n' ? "\n" + std::string(width + 4, ' ') : std::string(1, c);
        return text + "\n";
    };
    std::string text = "Usage: " + program + " [options] command [arguments]\n" + Description() + "\n\nOptions:\n";
    for (const OptionInfo& option : OptionTable())
        text += row(names(option), option.help);
    return text + "\nArguments:\n" + row("command", "list, show, send, backup, restore or provision.");
}

// The arguments as parsed: each option's values, in the order given (a flag
// has none), and the arguments that are no option.
struct Parsed {
    std::map<std::string, std::vector<std::string>> values;
    std::map<std::string, std::size_t> given;  // times each option came
    std::vector<std::string> positional;

    bool IsSet(const std::string& name) const { return given.contains(name); }
    std::string Value(const std::string& name) const
    {
        const auto found = values.find(name);
        return found == values.end() || found->second.empty() ? std::string() : found->second.back();
    }
};

const OptionInfo* FindOption(const std::string& name)
{
    const auto& options = OptionTable();
    const auto found = std::find_if(options.begin(), options.end(), [&](const OptionInfo& o) { return o.name == name; });
    return found == options.end() ? nullptr : &*found;
}

// CLI11 takes the argument after an option as its value, whatever it looks
// like, but reads "--zone=" as no value at all: split, it is an empty one.
std::vector<std::string> EmptyValuesSplit(const std::vector<std::string>& arguments)
{
    std::vector<std::string> split;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            split.insert(split.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.end());
            break;
        }
        const OptionInfo* emptied = argument.starts_with("--") && argument.ends_with("=")
                                        ? FindOption(argument.substr(2, argument.size() - 3))
                                        : nullptr;
        if (emptied != nullptr && !emptied->valueName.empty())
            split.insert(split.end(), {argument.substr(0, argument.size() - 1), ""});
        else
            split.push_back(argument);
    }
    return split;
}

// The words people know from this tool: "Unknown option 'x'." and the like.
std::optional<std::string> Parse(const std::vector<std::string>& arguments, Parsed& parsed)
{
    CLI::App app;
    app.set_help_flag();
    app.allow_extras();
    std::map<std::string, CLI::Option*> options;
    for (const OptionInfo& option : OptionTable()) {
        const std::string names = (option.name == "help" ? "-h,--" : "--") + option.name;
        CLI::Option* added = option.valueName.empty()
                                 ? app.add_flag(names)->disable_flag_override()
                                 : app.add_option(names, parsed.values[option.name])->allow_extra_args(false);
        options[option.name] = added->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    app.add_option("command", parsed.positional);
    std::vector<std::string> reversed = EmptyValuesSplit(arguments);
    std::reverse(reversed.begin(), reversed.end());  // CLI11 takes them from the back
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        // Name the option CLI11 stopped at.
        const std::string what = e.what();
        for (const OptionInfo& option : OptionTable())
            if (what.find("--" + option.name) != std::string::npos || what.starts_with(option.name + " "))
                return (option.valueName.empty() ? "Unexpected value after '--" : "Missing value after '--") +
                       option.name + "'.";
        return what;
    }
    // "--name=value", or "-abc": letters, each an option of its own.
    std::vector<std::string> unknown;
    for (const std::string& extra : app.remaining()) {
        if (extra == "--")
            continue;
        if (extra.starts_with("--")) {
            unknown.push_back(extra.substr(2, extra.find('=') - 2));
        } else if (extra.starts_with("-")) {
            for (const char letter : extra.substr(1))
                if (letter != 'h')
                    unknown.emplace_back(1, letter);
        } else {
            parsed.positional.push_back(extra);
        }
    }
    if (unknown.size() == 1)
        return "Unknown option '" + unknown.front() + "'.";
    if (!unknown.empty()) {
        std::string names;
        for (const std::string& name : unknown)
            names += (names.empty() ? "" : ", ") + name;
        return "Unknown options: " + names + ".";
    }
    for (const auto& [name, option] : options)
        if (option->count() > 0)
            parsed.given[name] = option->count();
    return std::nullopt;
}

Failure Usage(const std::string& message)
{
    return {ExitBadInput, message + "\n(see velbrix-qorun-cli --help)\n"};
}

// One value checked by `parse`, or the failure it reported.
template <typename T, typename Parse>
std::optional<T> Checked(const std::string& value, Parse parse, Failure& failure)
{
    std::string error;
    auto result = parse(value, error);
    if (!result)
        failure = {ExitBadInput, error + "; nothing sent\n"};
    return result;
}

int RunSend(CommandContext& context, const Parsed& parser)
{
    for (const char* required : {"zone", "operator", "phone", "text"})
        if (!parser.IsSet(required))
            return Fail(context, Usage(std::string("send needs --") + required));
    Failure failure;
    SendValues values;
    const auto zone = Checked<std::int32_t>(parser.Value("zone"), ParseZone, failure);
    const auto smsc = zone ? Checked<std::int32_t>(parser.Value("operator"), ParseOperator, failure) : std::nullopt;
    const auto pin = smsc ? Checked<std::u16string>(parser.Value("pin"), ParsePin, failure) : std::nullopt;
    const auto phone = pin ? Checked<std::u16string>(parser.Value("phone"), ParsePhone, failure) : std::nullopt;
    const auto text = phone ? Checked<std::u16string>(parser.Value("text"), ParseText, failure) : std::nullopt;
    if (!text)
        return Fail(context, failure);
    if (context.argumentsOnly)
        return ExitOk;
    values = {*zone, *smsc, *pin, *phone, *text};
    if (parser.IsSet("dry-run"))
        return PrintDryRun(context, values);
    return SendZone(context, parser.Value("device"), values);
}

int RunShow(CommandContext& context, const Parsed& parser)
{
    if (parser.IsSet("zone") && parser.IsSet("all"))
        return Fail(context, Usage("show takes --zone or --all, not both"));
    std::vector<std::int32_t> zones;
    if (parser.IsSet("zone")) {
        Failure failure;
        const auto zone = Checked<std::int32_t>(parser.Value("zone"), ParseZone, failure);
        if (!zone)
            return Fail(context, failure);
        zones.push_back(*zone);
    } else {
        for (const ZoneEntry& entry : ZoneTable)
            zones.push_back(entry.zone);
    }
    if (context.argumentsOnly)
        return ExitOk;
    return ShowZones(context, parser.Value("device"), zones, parser.IsSet("json"));
}

int RunProvision(CommandContext& context, const Parsed& parser)
{
    Failure failure;
    ProvisionRequest request;
    const auto pin = Checked<std::u16string>(parser.Value("pin"), ParsePin, failure);
    if (!pin)
        return Fail(context, failure);
    // Each 0 when not given: no limit.
    const auto units = [&](const std::string& option) -> std::optional<std::size_t> {
        const auto parse = [&](const std::string& text, std::string& error) { return ParseCount(option, text, error); };
        return parser.IsSet(option) ? Checked<std::size_t>(parser.Value(option), parse, failure) : 0;
    };
    const std::optional<std::size_t> count = units("count");
    const std::optional<std::size_t> parallel = count ? units("parallel") : std::nullopt;
    if (!parallel)
        return Fail(context, failure);
    if (parser.IsSet("log") && parser.Value("log").empty())
        return Fail(context, Usage("--log needs a file name"));
    if (context.argumentsOnly)
        return ExitOk;
    std::optional<RestorePlan> plan;
    if (const int read = ReadBackupFile(context, parser.positional.at(1), plan); read != ExitOk)
        return read;
    request = {std::move(*plan), *pin, *count, *parallel, parser.Value("log")};
    return ProvisionUnits(context, request);
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, CommandContext& context)
{
    Parsed parser;
    if (const std::optional<std::string> error = Parse(arguments, parser))
        return Fail(context, Usage(*error));
    const std::vector<std::string>& positional = parser.positional;
    if (parser.IsSet("help")) {
        context.out << HelpText(arguments.empty() ? std::string() : arguments.front()) << std::flush;
        return ExitOk;
    }
    if (parser.IsSet("version")) {
        context.out << "velbrix-qorun-cli " << QORUN_VERSION << "\n" << std::flush;
        return ExitOk;
    }
    if (positional.empty())
        return Fail(context, Usage("no command given"));
    const std::string command = positional.front();
    const auto found = Commands().find(command);
    if (found == Commands().end())
        return Fail(context, Usage("unknown command '" + command + "'"));
    for (const OptionInfo& option : OptionTable()) {
        const std::vector<std::string>& takes = found->second.options;
        if (parser.IsSet(option.name) && std::find(takes.begin(), takes.end(), option.name) == takes.end())
            return Fail(context, Usage(command + " does not take --" + option.name));
    }
    // A flag given twice is still one flag.
    for (const OptionInfo& option : OptionTable())
        if (!option.valueName.empty() && parser.IsSet(option.name) && parser.given.at(option.name) > 1)
            return Fail(context, Usage("--" + option.name + " given more than once"));
    const bool takesFile = found->second.syntax.starts_with("FILE");
    const std::size_t expected = takesFile ? 2 : 1;
    if (positional.size() != expected)
        return Fail(context, Usage(takesFile ? command + " needs one FILE" : command + " takes no further arguments"));

    const std::string device = parser.Value("device");
    if (command == "provision")
        return RunProvision(context, parser);
    // list and backup have nothing more to check.
    if (context.argumentsOnly && (command == "list" || command == "backup"))
        return ExitOk;
    if (command == "list")
        return ListUnits(context);
    if (command == "show")
        return RunShow(context, parser);
    if (command == "send")
        return RunSend(context, parser);
    if (command == "backup")
        return BackupZones(context, device, positional.at(1));
    Failure failure;
    const auto pin = Checked<std::u16string>(parser.Value("pin"), ParsePin, failure);
    if (!pin)
        return Fail(context, failure);
    if (context.argumentsOnly)
        return ExitOk;
    return RestoreZones(context, device, positional.at(1), *pin, parser.IsSet("verify"));
}
