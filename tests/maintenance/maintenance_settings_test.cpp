// The limits in the settings file: one section per table.
#include "maintenance/maintenance_settings.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <gtest/gtest.h>

using namespace Maintenance;

namespace {

class MaintenanceSettings : public ::testing::Test
{
protected:
    QString path() const { return folder.filePath("skelvo.INI"); }
    testsupport::TempFolder folder;
};

} // namespace

TEST_F(MaintenanceSettings, LimitsComeBackAsWrittenPerTable)
{
    const Limits limits{.engineHours = 2000,
                        .engineYears = 12,
                        .propellerHours = 1500,
                        .airframeInspectionHours = 100,
                        .airworthinessYears = 1,
                        .marginPercent = 5,
                        .marginDays = 14};
    ASSERT_TRUE(writeLimits(path(), "JA2401", limits));
    EXPECT_EQ(readLimits(path(), "JA2401"), limits);
    EXPECT_EQ(readLimits(path(), "JA2402"), Limits{});
    const QByteArray file = folder.readFile("skelvo.INI");
    EXPECT_TRUE(file.contains("[Maintenance.JA2401]")) << file.constData();
    EXPECT_TRUE(file.contains("EngineHours=2000")) << file.constData();
}

TEST_F(MaintenanceSettings, AnOlderFileOrABadValueSetsNoLimit)
{
    folder.writeFile("skelvo.INI", "[Database]\nTableName=JA2401\n");
    EXPECT_EQ(readLimits(path(), "JA2401"), Limits{});
    EXPECT_FALSE(readLimits(path(), "JA2401").anySet());
    folder.writeFile("skelvo.INI", "[Maintenance.JA2401]\nEngineHours=abc\nPropellerHours=-5\n"
                                   "AirframeInspectionHours=\nAirworthinessDays=99999999\n"
                                   "MarginPercent=500\nMarginDays=7\n");
    EXPECT_EQ(readLimits(path(), "JA2401"), (Limits{.marginDays = 7}));
    EXPECT_FALSE(writeLimits(path(), "", Limits{.engineHours = 1}));
}

TEST_F(MaintenanceSettings, AnyTableNameGetsASectionOfItsOwn)
{
    const struct
    {
        QString table;
        QString section;
    } names[] = {
        {"JA2401", "Maintenance.JA2401"},           {"a]b", "Maintenance.a%5Db"},
        {"a%5Db", "Maintenance.a%255Db"},           {" x ", "Maintenance.%20x%20"},
        {"x\ny=1", "Maintenance.x%0Ay%3D1"},        {";c", "Maintenance.%3Bc"},
        {"機体", "Maintenance.%E6%A9%9F%E4%BD%93"}, {"", ""},
    };
    int hours = 1;
    for (const auto& [table, section] : names) {
        SCOPED_TRACE(table.toStdString());
        EXPECT_EQ(limitsSection(table), section);
        if (!table.isEmpty()) {
            ASSERT_TRUE(writeLimits(path(), table, {.engineHours = hours++}));
        }
    }
    // Each name reads back its own limit, none another's.
    hours = 1;
    for (const auto& name : names) {
        if (!name.table.isEmpty()) {
            EXPECT_EQ(readLimits(path(), name.table).engineHours, hours++)
                << name.table.toStdString();
        }
    }
    EXPECT_EQ(readLimits(path(), "a").engineHours, 0);
}
