// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The commands against the in-process unit, which SetUp loads and backs up.

#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_harness.h"

namespace {

class UnitCommands : public testing::Test {
protected:
    void SetUp() override
    {
        LoadZones(original.model);
        ASSERT_EQ(RunCli(original, {"backup", path}).status, 0);
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    InProcessUnits original;
};

TEST_F(UnitCommands, ShowNamesAKnownOperatorGivesAnUnknownOnesNumberAndRestoresLineBreaks)
{
    const CliRun json = RunCli(original, {"show", "--zone", "3", "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(json.out)), QJsonDocument::fromJson(R"(
        {"operator": "AMENA", "zones": [{"zone": 3, "phone": "633444555", "text": "Linea 1\nLinea 2 \u00f1"}]})"))
        << json.out;

    original.model.StoreServiceCentre("612345678");
    EXPECT_EQ(RunCli(original, {"show", "--zone", "1"}),
              (CliRun{0, "operator: 612345678\nzone 1\n  phone: 611222333\n  text: Zona\runo\n", ""}));
}

// A lone CR and the CR LF line break come back as they were.
TEST_F(UnitCommands, RestoreVerifyFillsAFreshUnitExactlyAsTheBackedUpOne)
{
    InProcessUnits fresh;
    EXPECT_EQ(RunCli(fresh, {"restore", path, "--pin", "1234", "--verify"}),
              (CliRun{0, "4 zones restored from " + path.toStdString() + "\nverified: the unit holds what the file holds\n", ""}));
    const auto& memory = fresh.model.Memory();
    EXPECT_EQ(std::string(memory.begin(), memory.begin() + 5), std::string("1234\0", 5));
    EXPECT_TRUE(std::equal(memory.begin() + 5, memory.end(), original.model.Memory().begin() + 5));
}

}  // namespace
