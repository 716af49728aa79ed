// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program as a script starts it: a UTF-16 command line, its
// output read from pipes. What it sends must be what the commands send for
// the same text given in UTF-8, a text the system cannot hold as UTF-8 must
// be refused, and what it says must be UTF-8.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "command_line/command_line.h"
#include "protocol/utf8_text.h"

namespace {

struct Finished {
    DWORD status = 0;
    std::string out, err;
};

std::string Drain(HANDLE pipe)
{
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    return text;
}

// Line ends as the program writes them to a file or pipe.
std::string WithoutCr(std::string text)
{
    std::erase(text, '\r');
    return text;
}

Finished Started(const std::u16string& arguments)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::wstring line = L"\"" QORUN_CLI L"\" ";
    line.append(arguments.begin(), arguments.end());
    PROCESS_INFORMATION process{};
    Finished run;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        run.status = 1000;
        return run;
    }
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    std::thread errors([&] { run.err = Drain(errRead); });
    run.out = Drain(outRead);
    errors.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(outRead);
    CloseHandle(errRead);
    return run;
}

// The same command run in this process from UTF-8 arguments: no unit is needed for a dry run.
std::string InProcess(const std::vector<std::string>& arguments)
{
    struct NoUnits : UnitSource {
        std::vector<ListedUnit> List() override { return {}; }
        std::shared_ptr<HidLibrary> Open(const std::string&) override { throw std::logic_error("a dry run opened a unit"); }
        std::string AccessFix() const override { return {}; }
    } units;
    std::ostringstream out, err;
    CommandContext context{units, out, err, false, {}, nullptr, false};
    std::vector<std::string> all{"velbrix-qorun-cli"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(RunCommandLine(all, context), 0) << err.str();
    return out.str();
}

TEST(ProgramArguments, TextsArriveWholeALoneHalfOfAPairIsRefusedAndTheProgramSpeaksUtf8)
{
    const std::u16string send = u"send --zone 1 --operator AMENA --phone 611222333 --dry-run --text ";
    // Quoted as a script quotes a text with spaces.
    for (const std::u16string text : {u"\u00F1and\u00FA \u20AC", u"\U0001F600 alarma", u"una"}) {
        const Finished run = Started(send + u"\"" + text + u"\"");
        EXPECT_EQ(run.status, 0u) << run.err;
        EXPECT_EQ(WithoutCr(run.out), InProcess({"send", "--zone", "1", "--operator", "AMENA", "--phone", "611222333",
                                                 "--dry-run", "--text", ToUtf8(text)}));
    }

    const Finished lone = Started(send + u"a\xD800" + u"b");
    EXPECT_EQ(lone.status, 2u);
    EXPECT_EQ(WithoutCr(lone.err), "velbrix-qorun-cli: argument 10 is not valid UTF-8; nothing sent\n");
    EXPECT_EQ(lone.out, "");

    const Finished named = Started(u"send --zone 1 --operator \u00D1o\u00F1o --phone 1 --text x");
    EXPECT_EQ(named.status, 2u);
    EXPECT_NE(named.err.find("'\xC3\x91o\xC3\xB1o'"), std::string::npos) << named.err;
}

}  // namespace
