// The monitor loop of the real program against the simulated EC: the temperature
// is scripted, and the bytes written to the fan register are read from the EC's log.
#include <gtest/gtest.h>

#include <cstdio>

#include "Harness.h"

namespace e2e {
namespace {

const milliseconds kWait = kEventBound;
const char kFastTicks[] = "[Advanced]\r\nTimerInterval=100\r\n";

std::string Hex(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

// A step of Missed(N): the next N reads get no answer from the EC (no OBF).
constexpr int Missed(int reads) { return -reads; }

// Runs vantu with a temperature sequence; each temperature stays until the program
// has read it and finished that tick (the next read shows it).
class FanScenario {
public:
    explicit FanScenario(const std::string& ini = kFastTicks) {
        folder_.WriteIni(ini);
    }

    void Start(int temperature) {
        folder_.SetEc("Temperature", std::to_string(temperature));
        vantu_.emplace(folder_);
        AwaitTicksAt(temperature);
    }

    void Step(int temperature) {
        if (temperature < 0)
            return Miss(-temperature);
        folder_.SetEc("Temperature", std::to_string(temperature));
        AwaitTicksAt(temperature);
    }

    // Exactly `reads` ticks without a reading, then the EC answers again.
    void Miss(int reads) {
        const size_t before = folder_.EcLog("MISS 58").size();
        folder_.SetEc("MissedReads", std::to_string(reads));
        ASSERT_TRUE(folder_.WaitForEcLog("MISS 58", before + static_cast<size_t>(reads), kWait));
        folder_.SetEc("MissedReads", "0");
    }

    // The fan bytes written so far, in order.
    std::vector<std::string> FanWrites() const {
        std::vector<std::string> bytes;
        for (const auto& line : folder_.EcLog("W 55 "))
            bytes.push_back(line.substr(5));
        return bytes;
    }

    std::vector<std::string> CloseAndTakeFanWrites() {
        vantu_->Close();
        EXPECT_TRUE(vantu_->WaitForExit().has_value());
        return FanWrites();
    }

    const TestFolder& Folder() const { return folder_; }

private:
    void AwaitTicksAt(int temperature) {
        const std::string read = "R 58 " + Hex(temperature);
        const size_t before = folder_.EcLog(read).size();
        ASSERT_TRUE(folder_.WaitForEcLog(read, before + 2, kWait))
            << "no two ticks read " << temperature;
    }

    TestFolder folder_;
    std::optional<Vantu> vantu_;
};

using Bytes = std::vector<std::string>;

// Temperature sequences and the fan bytes they must write, the exit's hand-over to
// the EC (00) included; BIOS 3305 writes AF for off and 10 for slow.
struct Sequence {
    const char* what;
    const char* extraIni;
    std::vector<int> temperatures;
    Bytes writes;
};

TEST(Monitor, FanWritesFollowTheTemperature) {
    const Sequence sequences[] = {
        // unknown -> off below Stop; stays off up to Slow; slow above it, auto above
        // Auto; auto stays between Slow and Auto; slow below Slow; off below Stop
        {"custom rules with hysteresis", "", {45, 55, 61, 63, 66, 62, 59, 49},
         {"AF", "10", "00", "10", "AF", "00"}},
        {"after start the fan is left alone between Slow and Auto", "", {62, 70}, {"00", "00"}},
        {"after start below Slow the fan goes slow", "", {55}, {"10", "00"}},
        {"a fixed mode writes once", "[Fan]\r\nControl=0\r\n", {80, 81, 30}, {"AF", "00"}},
        // six ticks or more without a good reading hand the fan to the EC
        {"0, 100 and more are no reading", "", {0, 100, 200, 45}, {"00", "AF", "00"}},
        {"a hand-edited mode out of range never acts", "[Fan]\r\nControl=7\r\n", {89, 20},
         {"00"}},
        {"critical from 90 in any mode, until 80", "[Fan]\r\nControl=0\r\n",
         {60, 92, 85, 81, 80}, {"AF", "00", "AF", "00"}},
        {"critical in a mode that never acts", "[Fan]\r\nControl=7\r\n", {92, 20},
         {"00", "00"}},
        {"five ticks without a reading: auto until one comes", "[Fan]\r\nControl=0\r\n",
         {60, Missed(5), 60}, {"AF", "00", "AF", "00"}},
        {"four ticks without a reading change nothing", "[Fan]\r\nControl=0\r\n",
         {60, Missed(4), 60, Missed(4), 60}, {"AF", "00"}},
    };
    SeededBiosVersion bios({"ACRSYS - 1", "V1.3305"});
    for (const auto& sequence : sequences) {
        SCOPED_TRACE(sequence.what);
        FanScenario fan(std::string(kFastTicks) + sequence.extraIni);
        fan.Start(sequence.temperatures.front());
        for (size_t i = 1; i < sequence.temperatures.size(); ++i)
            fan.Step(sequence.temperatures[i]);
        EXPECT_EQ(fan.CloseAndTakeFanWrites(), sequence.writes);
    }
}

// Off, slow and auto bytes by BIOS version, or the custom bytes.
struct BiosCase {
    const char* version;
    const char* extraIni;
    Bytes offSlowAuto;
};

TEST(Monitor, FanBytesFollowTheBiosVersionOrTheCustomBytes) {
    const BiosCase cases[] = {
        {"V1.0000", "", {"1F", "20", "00"}},
        {"V1.3114", "", {"1F", "20", "00"}},
        {"V1.3115", "", {"20", "20", "00"}},
        {"V1.3303", "", {"20", "20", "00"}},
        {"V1.3304", "", {"20", "10", "00"}},
        {"V1.3305", "", {"AF", "10", "00"}},
        {"V1.3305",
         "[Special]\r\nUseCustomFanValue=True\r\nFanValueOff=&H33\r\nFanValueSlow=&H44\r\n"
         "FanValueAuto=&H55\r\n",
         {"33", "44", "55"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " " + c.extraIni);
        SeededBiosVersion bios({"ACRSYS - 2", c.version});
        FanScenario fan(std::string(kFastTicks) + c.extraIni);
        fan.Start(45);  // off
        fan.Step(61);   // slow; the exit then hands over with the auto byte
        EXPECT_EQ(fan.CloseAndTakeFanWrites(), c.offSlowAuto);
    }
}

TEST(Monitor, StartUpCreatesAndActivatesThePowerSchemeThenAppliesBothModes) {
    FanScenario fan("[Advanced]\r\nTimerInterval=100\r\n[Processor]\r\nAC=2\r\nDC=1\r\n");
    fan.Start(45);
    EXPECT_EQ(fan.Folder().Commands(),
              (Bytes{"powercfg /c vantu", "powercfg /s vantu",
                     "powercfg /x vantu /processor-throttle-ac none",
                     "powercfg /x vantu /processor-throttle-dc adaptive"}));
    fan.CloseAndTakeFanWrites();
}

}  // namespace
}  // namespace e2e
