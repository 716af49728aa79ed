// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The commands once their arguments are parsed and checked. Each returns
// its exit status and has said on the context's streams what happened.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "command_line/command_line.h"
#include "command_line/zone_listing.h"

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
int BackupZones(CommandContext& context, const std::string& device, const std::string& path);
// The backup file at `path` checked whole, as restore and provision take it;
// a status other than ExitOk has been reported and leaves `plan` empty.
int ReadBackupFile(CommandContext& context, const std::string& path, std::optional<RestorePlan>& plan);
int RestoreZones(CommandContext& context, const std::string& device, const std::string& path,
                 const std::u16string& pin, bool verify);

// A field the unit holds differently from the plan, both values exact.
struct FieldDifference {
    std::string field;  // "operator", "zone 2 phone", "zone 2 text"
    std::string file, unit;  // UTF-8
};
// Each field that differs, one line each, and into `fields` when given.
std::string Differences(const RestorePlan& plan, const std::vector<ZoneReadout>& readouts,
                        std::vector<FieldDifference>* fields = nullptr);

// Writes "velbrix-qorun-cli: " and the message to err; returns its status.
int Fail(CommandContext& context, const Failure& failure);
