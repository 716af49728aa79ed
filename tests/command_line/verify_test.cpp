// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// restore --verify compares the operator and every field of each zone in the
// file, however many zones it holds, and names each one that differs.

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_harness.h"

namespace {

struct Check {
    std::vector<int> zones;  // in the file: zone n holds 60000000n and "Zona n"
    std::vector<int> altered;  // addresses the unit stores as 'X'
    std::string differences;
};

const Check Checks[] = {
    {{1, 2, 3, 4}, {}, ""},
    {{1, 2, 3, 4}, {5}, "operator: file has \"AMENA\", unit has \"X56000311\"\n"},
    {{1, 2, 3, 4}, {15}, "zone 1 phone: file has \"600000001\", unit has \"X00000001\"\n"},
    {{1, 2, 3, 4}, {25}, "zone 1 text: file has \"Zona 1\", unit has \"Xona 1\"\n"},
    {{1, 2, 3, 4}, {75}, "zone 2 phone: file has \"600000002\", unit has \"X00000002\"\n"},
    {{1, 2, 3, 4}, {85}, "zone 2 text: file has \"Zona 2\", unit has \"Xona 2\"\n"},
    {{1, 2, 3, 4}, {143}, "zone 3 phone: file has \"600000003\", unit has \"60000000X\"\n"},
    {{1, 2, 3, 4}, {150}, "zone 3 text: file has \"Zona 3\", unit has \"Zona X\"\n"},
    {{1, 2, 3, 4}, {195}, "zone 4 phone: file has \"600000004\", unit has \"X00000004\"\n"},
    {{1, 2, 3, 4}, {205, 5}, "operator: file has \"AMENA\", unit has \"X56000311\"\n"
                             "zone 4 text: file has \"Zona 4\", unit has \"Xona 4\"\n"},
    {{3}, {5}, "operator: file has \"AMENA\", unit has \"X56000311\"\n"},
    {{4, 2}, {}, ""},
    {{4, 2}, {85, 195}, "zone 2 text: file has \"Zona 2\", unit has \"Xona 2\"\n"
                        "zone 4 phone: file has \"600000004\", unit has \"X00000004\"\n"},
};

class Verify : public testing::TestWithParam<Check> {};

TEST_P(Verify, ReportsExactlyTheFieldsTheUnitHoldsDifferently)
{
    QByteArray zones;
    for (const int n : GetParam().zones)
        zones += QStringLiteral("%1{\"zone\": %2, \"phone\": \"60000000%2\", \"text\": \"Zona %2\"}")
                     .arg(zones.isEmpty() ? "" : ",").arg(n).toUtf8();
    QTemporaryDir dir;
    QFile file(dir.filePath("unit.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "velbrix-qorun-backup", "version": 1, "operator": "AMENA", "zones": [)" + zones + "]}");
    file.close();
    InProcessUnits units;
    units.library.altered = GetParam().altered;
    const std::string restored =
        std::to_string(GetParam().zones.size()) + " zones restored from " + file.fileName().toStdString() + "\n";
    const std::string& differences = GetParam().differences;
    EXPECT_EQ(RunCli(units, {"restore", file.fileName(), "--verify"}),
              differences.empty()
                  ? (CliRun{0, restored + "verified: the unit holds what the file holds\n", ""})
                  : (CliRun{4, restored + differences, "velbrix-qorun-cli: verify found differences\n"}));
}

INSTANTIATE_TEST_SUITE_P(EachField, Verify, testing::ValuesIn(Checks));

}  // namespace
