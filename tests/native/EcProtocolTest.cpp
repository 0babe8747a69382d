#include "ec/EcProtocol.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

using namespace EcProtocol;

namespace {

// An EC whose status port plays a script: the n-th status read returns status[n], the
// last entry repeating. Every access and pause is recorded in order.
class ScriptedPort : public PortIo {
public:
    std::vector<uint8_t> status{0x00};
    uint8_t data = 0;
    std::vector<std::string> events;
    int statusReads = 0;
    int pauses = 0;

    uint8_t InPort(uint16_t port) override {
        if (port == DataPort) {
            events.push_back("in 62");
            return data;
        }
        EXPECT_EQ(port, CommandPort);
        const std::size_t n = static_cast<std::size_t>(statusReads++);
        return status[n < status.size() ? n : status.size() - 1];
    }
    void OutPort(uint8_t value, uint16_t port) override {
        events.push_back(Hex(value) + " -> " + Hex(static_cast<uint8_t>(port)));
    }
    void Pause() override {
        ++pauses;
        events.push_back("pause");
    }

    // Status `other` for the first n reads, then `then`.
    void ShowAfter(int n, uint8_t other, uint8_t then) {
        status.assign(static_cast<std::size_t>(n), other);
        status.push_back(then);
    }
    // Ready for `ready` reads, busy (IBF) for `busy` reads, then `after` for good.
    void BusyFor(int ready, int busy, uint8_t after) {
        status.assign(static_cast<std::size_t>(ready), 0x00);
        status.insert(status.end(), static_cast<std::size_t>(busy), IBF);
        status.push_back(after);
    }
    std::vector<std::string> Writes() const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e.find("->") != std::string::npos)
                out.push_back(e);
        return out;
    }

private:
    static std::string Hex(uint8_t v) {
        const char* digits = "0123456789ABCDEF";
        return {digits[v >> 4], digits[v & 15]};
    }
};

using Writes = std::vector<std::string>;

TEST(EcWait, ReadyStatusCostsNoPause) {
    ScriptedPort io;
    io.status = {OBF};
    EXPECT_TRUE(WaitInputBufferEmpty(io));
    EXPECT_TRUE(WaitOutputBufferFull(io));
    EXPECT_EQ(io.pauses, 0);
    EXPECT_EQ(io.statusReads, 2);
}

// The wanted state appears on the read made after `pauses` pauses.
TEST(EcWait, HundredthPauseIsTheLimit) {
    struct Row { int readsBefore; bool reached; int pauses; };
    const Row rows[] = {
        {0, true, 0},     {1, true, 1},     {99, true, 99},
        {100, false, 100},  // shows on the read after the 100th pause: too late
        {101, false, 100},  {1000, false, 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.readsBefore);
        ScriptedPort io;
        io.ShowAfter(r.readsBefore, 0x00, OBF);
        EXPECT_EQ(WaitOutputBufferFull(io), r.reached);
        EXPECT_EQ(io.pauses, r.pauses);
        EXPECT_EQ(io.statusReads, r.pauses + 1);
    }
}

TEST(EcWait, MaskAndWantedState) {
    struct Row { uint8_t status, mask; WantedState wanted; bool reachedAtOnce; };
    const Row rows[] = {
        {0x00, IBF, WantedState::Clear, true},
        {0x01, IBF, WantedState::Clear, true},   // OBF does not block a write
        {0x02, IBF, WantedState::Clear, false},
        {0x03, 0x03, WantedState::Clear, false},
        {0x01, 0x03, WantedState::Clear, false},  // clear means all of the mask
        {0x02, 0x03, WantedState::Set, true},     // set means any of the mask
        {0x02, OBF, WantedState::Set, false},
        {0xFE, OBF, WantedState::Set, false},
        {0xFF, OBF, WantedState::Set, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << int(r.status) << "/" << int(r.mask));
        ScriptedPort io;
        io.status = {r.status};
        EXPECT_EQ(WaitECStatus(io, CommandPort, r.mask, r.wanted), r.reachedAtOnce);
        EXPECT_EQ(io.pauses, r.reachedAtOnce ? 0 : MaxPauses);
    }
}

TEST(EcWrite, IdleEcTakesCommandRegisterThenValue) {
    ScriptedPort io;
    WriteEC(io, 0x10, 0x55);
    EXPECT_EQ(io.events, (Writes{"81 -> 66", "55 -> 62", "10 -> 62"}));
    EXPECT_EQ(io.statusReads, 3);
}

TEST(EcWrite, EachByteWaitsForTheInputBuffer) {
    ScriptedPort io;
    io.status = {IBF, 0x00, IBF, IBF, 0x00, 0x00};
    WriteEC(io, 0xAF, 0x55);
    EXPECT_EQ(io.events,
              (Writes{"pause", "81 -> 66", "pause", "pause", "55 -> 62", "AF -> 62"}));
}

TEST(EcWrite, StuckInputBufferWritesNothing) {
    ScriptedPort io;
    io.status = {IBF};
    WriteEC(io, 0x10, 0x55);
    EXPECT_TRUE(io.Writes().empty());
    EXPECT_EQ(io.pauses, MaxPauses);  // abandoned after the first wait
}

// A timed-out wait ends the transaction, even when the EC is ready again just after:
// no byte reaches the data port without the bytes meant to come before it.
TEST(EcWrite, AbandonedAtFirstTimeOut) {
    struct Row { int readyReads; Writes written; };
    const Row rows[] = {
        {0, {}},
        {1, {"81 -> 66"}},
        {2, {"81 -> 66", "55 -> 62"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.readyReads);
        ScriptedPort io;
        io.BusyFor(r.readyReads, MaxPauses + 1, 0x00);
        WriteEC(io, 0x1F, 0x55);
        EXPECT_EQ(io.Writes(), r.written);
        EXPECT_EQ(io.statusReads, r.readyReads + MaxPauses + 1);
    }
}

TEST(EcRead, ReadyEcGivesTheDataByte) {
    ScriptedPort io;
    io.status = {OBF};
    io.data = 0x2D;
    EXPECT_EQ(ReadEC(io, 0x58), 0x2D);
    EXPECT_EQ(io.events, (Writes{"80 -> 66", "58 -> 62", "in 62"}));
}

TEST(EcRead, DataWaitsForTheOutputBuffer) {
    ScriptedPort io;
    io.status = {0x00, 0x00, 0x00, 0x00, OBF};
    io.data = 0x31;
    EXPECT_EQ(ReadEC(io, 0x58), 0x31);
    EXPECT_EQ(io.events, (Writes{"80 -> 66", "58 -> 62", "pause", "pause", "in 62"}));
}

TEST(EcRead, NoOutputGivesZeroAfterHundredPauses) {
    ScriptedPort io;
    io.data = 0x2D;
    EXPECT_EQ(ReadEC(io, 0x58), 0);
    EXPECT_EQ(io.Writes(), (Writes{"80 -> 66", "58 -> 62"}));
    EXPECT_EQ(io.pauses, MaxPauses);
    EXPECT_EQ(io.events.back(), "pause");  // the data port is never read
}

TEST(EcRead, AbandonedAtFirstTimeOut) {
    struct Row { int readyReads; Writes written; };
    const Row rows[] = {
        {0, {}},
        {1, {"80 -> 66"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.readyReads);
        ScriptedPort io;
        io.BusyFor(r.readyReads, MaxPauses + 1, OBF);
        io.data = 0x2D;
        EXPECT_EQ(ReadEC(io, 0x58), 0);
        EXPECT_EQ(io.events.size(), r.written.size() + MaxPauses);  // no data port read
        EXPECT_EQ(io.Writes(), r.written);
        EXPECT_EQ(io.statusReads, r.readyReads + MaxPauses + 1);
    }
}

}  // namespace
