#include "system/modPowerMan.h"

#include <gtest/gtest.h>


#include "CommandLog.h"
#include "support/FakePowerSupply.h"
#include "settings/modSettings.h"

namespace {

using Lines = std::vector<std::string>;

class modPowerManTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FakePowerSupply::Available()) << "run under scripts/wine-run";
        savedSettings_ = modSettings::Settings;
        CommandLog::Clear();
        DeleteFileA(modSettings::IniFilePath().c_str());
        modSettings::LoadSettings();  // only loaded settings are ever saved
        FakePowerSupply::Mains();
    }

    void TearDown() override {
        MoveFileA(AwayPath().c_str(), PowercfgPath().c_str());
        FakePowerSupply::Mains();
        DeleteFileA(modSettings::IniFilePath().c_str());
        CommandLog::Clear();
        modSettings::Settings = savedSettings_;
    }

    static std::string PowercfgPath() { return modSettings::AppFolder() + "powercfg.exe"; }
    static std::string AwayPath() { return modSettings::AppFolder() + "powercfg.exe.away"; }

    static std::string SavedProcessorValue(const char* key) {
        return modSettings::ReadIniValue("Processor", key, modSettings::IniFilePath(), "missing");
    }

private:
    SettingsRecord savedSettings_;
};

// The scheme exists before it is made active and changed: each powercfg has ended
// before the next one starts. The modes in force follow the power source.
TEST_F(modPowerManTest, SchemeIsCreatedActivatedThenSetInThatOrder) {
    modSettings::Settings.Processor = {1, 2};
    modPowerMan::CreatePowerScheme();
    EXPECT_EQ(CommandLog::Lines(), (Lines{
                                       "powercfg /c vantu",
                                       "powercfg /s vantu",
                                       "powercfg /x vantu /processor-throttle-ac adaptive",
                                       "powercfg /x vantu /processor-throttle-dc none",
                                   }));
    EXPECT_FALSE(modSettings::IniFileExists());
    EXPECT_EQ(modPowerMan::CurrentThrottleMode(), 1);
    FakePowerSupply::Discharging();
    EXPECT_EQ(modPowerMan::CurrentThrottleMode(), 2);
    FakePowerSupply::Mains();
    EXPECT_EQ(modPowerMan::CurrentThrottleMode(), 1);
}

TEST_F(modPowerManTest, BatteryStateIsReadIntoTheRecord) {
    FakePowerSupply::Discharging();
    modPowerMan::UpdatePowerStatus();
    const PowerStatusRecord& status = modPowerMan::PowerStatus();
    EXPECT_EQ(status.ACLineStatus, 0);
    EXPECT_EQ(status.BatteryFlag, 1);
    EXPECT_EQ(status.BatteryLifePercent, 75);
    EXPECT_EQ(status.BatteryLifeTime, 3 * 3600);

    FakePowerSupply::Mains();
    modPowerMan::UpdatePowerStatus();
    EXPECT_EQ(modPowerMan::PowerStatus().ACLineStatus, 1);
}

// Only the mode of the source in use changes: in force, in the settings and in the file.
TEST_F(modPowerManTest, SetThrottleModeSetsAndSavesTheModeOfTheSourceInUse) {
    const struct {
        bool onBattery;
        ProcessorSettings before;
        int32_t mode;
        const char* line;
        ProcessorSettings after;
    } cases[] = {
        {true, {2, 0}, 1, "powercfg /x vantu /processor-throttle-dc adaptive", {2, 1}},
        {false, {0, 1}, 2, "powercfg /x vantu /processor-throttle-ac none", {2, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        if (c.onBattery)
            FakePowerSupply::Discharging();
        else
            FakePowerSupply::Mains();
        CommandLog::Clear();
        DeleteFileA(modSettings::IniFilePath().c_str());
        modSettings::Settings.Processor = c.before;
        modPowerMan::SetThrottleMode(c.mode);
        EXPECT_EQ(CommandLog::Lines(), Lines{c.line});
        EXPECT_EQ(modSettings::Settings.Processor, c.after);
        EXPECT_EQ(SavedProcessorValue("AC"), std::to_string(c.after.AC));
        EXPECT_EQ(SavedProcessorValue("DC"), std::to_string(c.after.DC));
        EXPECT_EQ(modPowerMan::CurrentThrottleMode(), c.mode);
    }
}

TEST_F(modPowerManTest, MissingPowercfgStillUpdatesModesAndSettings) {
    ASSERT_TRUE(MoveFileA(PowercfgPath().c_str(), AwayPath().c_str()));
    FakePowerSupply::Discharging();

    modPowerMan::CreatePowerScheme();
    modPowerMan::SetThrottleMode(1);

    EXPECT_TRUE(CommandLog::Lines().empty());
    EXPECT_EQ(modSettings::Settings.Processor.DC, 1);
    EXPECT_EQ(SavedProcessorValue("DC"), "1");
    EXPECT_EQ(modPowerMan::CurrentThrottleMode(), 1);
}

}  // namespace
