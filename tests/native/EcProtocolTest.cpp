#include "ec/EcProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace EcProtocol;

namespace {

// An EC whose status port plays a script: the n-th status read returns status[n], the
// last entry repeating; the data port likewise plays `data`. Port writes ("81>66 "),
// data reads ("in "), pauses ("."), the lock taken ("[") or refused ("!") and its
// release ("]") are recorded in order.
class ScriptedPort : public PortIo {
public:
    ScriptedPort(std::vector<uint8_t> script, std::vector<uint8_t> dataBytes = {0x2D}, bool lockFree = true)
        : status(script), data(dataBytes), free(lockFree) {}
    std::vector<uint8_t> status, data;
    bool free;
    std::string events;
    int statusReads = 0, dataReads = 0;

    uint8_t InPort(uint16_t port) override {
        if (port == DataPort) {
            events += "in ";
            return data[std::min(size_t(dataReads++), data.size() - 1)];
        }
        EXPECT_EQ(port, CommandPort);
        return status[std::min(size_t(statusReads++), status.size() - 1)];
    }
    void OutPort(uint8_t value, uint16_t port) override {
        char text[16];
        std::snprintf(text, sizeof text, "%02X>%02X ", value, port);
        events += text;
    }
    void Pause() override { events += '.'; }
    bool Lock() override { events += free ? "[" : "!"; return free; }
    void Unlock() override { events += "]"; }
    long Pauses() const { return std::count(events.begin(), events.end(), '.'); }
};

// Status 0x00 for `ready` reads, `other` for `count` reads, then `then` for good.
std::vector<uint8_t> Script(int ready, uint8_t other, int count, uint8_t then) {
    std::vector<uint8_t> status(static_cast<size_t>(ready), 0x00);
    status.insert(status.end(), static_cast<size_t>(count), other);
    status.push_back(then);
    return status;
}

// The wanted state shown on the read after `pauses` pauses (a ready EC costs none), on
// the read after the 100th it is too late. OBF does not block a write; clear means all
// of the mask, set any of it.
TEST(EcWait, TheWantedStateWithinAHundredPauses) {
    constexpr auto Clear = WantedState::Clear, Set = WantedState::Set;
    const struct { std::vector<uint8_t> status; uint8_t mask; WantedState wanted; bool reached; int pauses; } rows[] = {
        {Script(0, 0x00, 0, OBF), OBF, Set, true, 0},     {Script(0, 0x00, 1, OBF), OBF, Set, true, 1},
        {Script(0, 0x00, 99, OBF), OBF, Set, true, 99},   {Script(0, 0x00, 100, OBF), OBF, Set, false, 100},
        {Script(0, 0x00, 1000, OBF), OBF, Set, false, 100},
        {{0x01}, IBF, Clear, true, 0},  {{0x02}, IBF, Clear, false, 100}, {{0x01}, 0x03, Clear, false, 100},
        {{0x02}, 0x03, Set, true, 0},   {{0x02}, OBF, Set, false, 100},   {{0xFF}, OBF, Set, true, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.status.size() << " reads, last " << int(r.status.back()) << ", mask "
                                        << int(r.mask));
        ScriptedPort io(r.status);
        EXPECT_EQ(WaitECStatus(io, CommandPort, r.mask, r.wanted), r.reached);
        EXPECT_EQ(io.Pauses(), r.pauses);
        EXPECT_EQ(io.statusReads, r.pauses + 1);
    }
}

// WriteEC(value 0x10, register 0x55) and ReadEC(register 0x58), the data port holding 0x2D.
// A timed-out wait ends the transaction, even when the EC is ready again just after:
// no byte reaches the data port without the bytes meant to come before it. The lock
// spans the whole transaction and is given back on every way out; a byte waiting
// before a read's command is drained, never returned.
TEST(EcTransaction, BytesInOrderEachAfterItsWait) {
    const std::string out(MaxPauses, '.');  // a wait that times out
    const std::vector<uint8_t> idle{0x00}, stale{0x20, 0x2D};
    const struct { const char* what; bool read; std::vector<uint8_t> status; std::string events; int statusReads;
                   uint8_t result; std::vector<uint8_t> data = {0x2D}; bool lockFree = true; } rows[] = {
        {"idle write: command, register, value", false, idle, "[81>66 55>62 10>62 ]", 3, 0},
        {"each write byte waits for IBF", false, {IBF, 0x00, IBF, IBF, 0x00, 0x00}, "[.81>66 ..55>62 10>62 ]", 6, 0},
        {"write ends at 1st wait", false, Script(0, IBF, MaxPauses + 1, 0x00), "[" + out + "]", MaxPauses + 1, 0},
        {"write ends at 2nd wait", false, Script(1, IBF, MaxPauses + 1, 0x00), "[81>66 " + out + "]", MaxPauses + 2, 0},
        {"write ends at 3rd wait", false, Script(2, IBF, MaxPauses + 1, 0x00), "[81>66 55>62 " + out + "]",
         MaxPauses + 3, 0},
        {"write without the lock touches no port", false, idle, "!", 0, 0, {0x2D}, false},
        {"ready read", true, {0x00, 0x00, 0x00, OBF}, "[80>66 58>62 in ]", 4, 0x2D},
        {"stale byte, IBF set too", true, {OBF | IBF, IBF, 0x00, 0x00, OBF}, "[in .80>66 58>62 in ]", 5, 0x2D, stale},
        {"read data waits for OBF", true, {0x00, 0x00, 0x00, 0x00, 0x00, OBF}, "[80>66 58>62 ..in ]", 6, 0x2D},
        {"no OBF: 0, data port never read", true, idle, "[80>66 58>62 " + out + "]", MaxPauses + 4, 0},
        {"read ends at 1st wait", true, Script(0, IBF, MaxPauses + 2, OBF), "[" + out + "]", MaxPauses + 2, 0},
        {"read ends at 2nd wait", true, Script(2, IBF, MaxPauses + 1, OBF), "[80>66 " + out + "]", MaxPauses + 3, 0},
        {"read without the lock: 0, no port touched", true, {OBF}, "!", 0, 0, {0x2D}, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        ScriptedPort io(r.status, r.data, r.lockFree);
        if (r.read)
            EXPECT_EQ(ReadEC(io, 0x58), r.result);
        else
            EXPECT_EQ(WriteEC(io, 0x10, 0x55), r.lockFree);  // time-outs count as done
        EXPECT_EQ(io.events, r.events);
        EXPECT_EQ(io.statusReads, r.statusReads);
    }
}

}  // namespace
