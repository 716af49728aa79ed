// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Arbitrary argument vectors (arguments split at NUL bytes) through the UTF-8
// check and the command line's parsing and checks, which stop before any file
// or unit is touched: every refusal says why, and no unit is ever opened.

#include <cstdlib>
#include <sstream>

#include "command_line/argument_encoding.h"
#include "command_line/command_line.h"

namespace {

class NoUnits : public UnitSource {
public:
    std::vector<ListedUnit> List() override { std::abort(); }
    std::shared_ptr<HidLibrary> Open(const std::string&) override { std::abort(); }
    std::string AccessFix() const override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments{"velbrix-qorun-cli", ""};
    for (std::size_t i = 0; i < size && arguments.size() < 32; ++i) {
        if (data[i] == 0)
            arguments.emplace_back();
        else
            arguments.back() += static_cast<char>(data[i]);
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    const Failure encoding = CheckArgumentEncoding(static_cast<int>(argv.size()), argv.data());
    if (encoding.status != ExitOk && encoding.message.empty())
        std::abort();
    if (encoding.status != ExitOk)
        return 0;
    NoUnits units;
    std::ostringstream out, err;
    CommandContext context{units, out, err, false, {}, nullptr, true};
    if (RunCommandLine(arguments, context) != ExitOk && err.str().empty())
        std::abort();
    return 0;
}
