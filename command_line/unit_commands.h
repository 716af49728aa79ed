// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The commands once their arguments are parsed and checked. Each returns
// its exit status and has said on the context's streams what happened.

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "command_line/command_line.h"

struct SendValues {
    std::int32_t zone = 0;
    std::int32_t serviceCentre = 0;
    std::u16string pin;  // empty: no PIN reports
    std::u16string phone;
    std::u16string text;  // CR LF line breaks
};

int ListUnits(CommandContext& context);
int ShowZones(CommandContext& context, const std::string& device,
              const std::vector<std::int32_t>& zones, bool json);
int SendZone(CommandContext& context, const std::string& device, const SendValues& values);
// The reports the upload would send, one per line in hex; nothing is sent.
int PrintDryRun(CommandContext& context, const SendValues& values);
int BackupZones(CommandContext& context, const std::string& device, const QString& path);
int RestoreZones(CommandContext& context, const std::string& device, const QString& path,
                 const std::u16string& pin, bool verify);

// Writes "velbrix-qorun-cli: " and the message to err; returns its status.
int Fail(CommandContext& context, const Failure& failure);
