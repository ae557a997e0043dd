// The pipes the simulated library handed out, over real packet pipes with this test as the
// tool: which opens fail as configured, which in-pipe a reply goes to, and which ones end.
#include "zelport/sim/PipeTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "zelport/sim/link/HostIo.h"

namespace {

using devlink::HostIo;
using devlink::PacketPipe;
using zelsim::PipeTable;
using Kind = PipeTable::Kind;

constexpr uint32_t kTimeLimitMs = 2000;

struct OpenCase {
    const char* name;
    Kind failing;
    uint32_t occurrence;
    // Opens of the printer in turn, and whether each fails.
    std::vector<std::pair<Kind, bool>> opens;
};

void PrintTo(const OpenCase& c, std::ostream* out) {
    *out << c.name;
}

class ZelportPipeOpens : public ::testing::TestWithParam<OpenCase> {};

TEST_P(ZelportPipeOpens, FailAsConfigured) {
    sim::PrinterConfig config;
    config.controlOpenFails = GetParam().failing == Kind::Control;
    config.pipe00OpenFails = GetParam().failing == Kind::Out;
    config.pipe01OpenFails = GetParam().failing == Kind::In;
    config.openFailsOccurrence = GetParam().occurrence;
    PipeTable table;
    // Another printer's opens count for that printer only.
    EXPECT_EQ(table.OpenFails(1, GetParam().failing, config), GetParam().occurrence <= 1);
    for (size_t i = 0; i < GetParam().opens.size(); ++i) {
        const auto [kind, fails] = GetParam().opens[i];
        EXPECT_EQ(table.OpenFails(0, kind, config), fails) << "open " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZelportPipeOpens,
    ::testing::Values(OpenCase{"EveryOpenOfTheKind",
                               Kind::In,
                               0,
                               {{Kind::In, true}, {Kind::Out, false}, {Kind::In, true}}},
                      OpenCase{"OnlyTheNthOpenOfTheKind",
                               Kind::Out,
                               2,
                               {{Kind::Control, false},
                                {Kind::Out, false},
                                {Kind::Control, false},
                                {Kind::Out, true},
                                {Kind::Out, false}}},
                      OpenCase{"TheFirstControlOpen",
                               Kind::Control,
                               1,
                               {{Kind::Control, true}, {Kind::Control, false}}}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return info.param.name; });

TEST(ZelportPipeTable, ANewGenerationCountsOpensAfresh) {
    sim::PrinterConfig config;
    config.pipe01OpenFails = true;
    config.openFailsOccurrence = 1;
    PipeTable table;
    EXPECT_TRUE(table.OpenFails(0, Kind::In, config));
    EXPECT_FALSE(table.OpenFails(0, Kind::In, config));
    table.NewGeneration();
    EXPECT_TRUE(table.OpenFails(0, Kind::In, config));
}

// A pipe added to the table, whose host end the test holds as the tool would.
class ZelportPipeDelivery : public ::testing::Test {
protected:
    ~ZelportPipeDelivery() override {
        for (intptr_t host : m_hostEnds) {
            HostIo::Close(host);
        }
    }

    intptr_t Open(Kind kind, size_t printer) {
        std::string error;
        std::unique_ptr<PacketPipe> link = PacketPipe::Create(kTimeLimitMs, error);
        EXPECT_TRUE(link) << error;
        const intptr_t host = link->TakeHostEnd();
        m_table.Add(std::move(link), kind, printer, false);
        m_hostEnds.push_back(host);
        return host;
    }

    void Close(intptr_t host) {
        HostIo::Close(host);
        std::erase(m_hostEnds, host);
    }

    // What one read of the host end gets: the packet's bytes, empty at end of file.
    static std::vector<uint8_t> ReadPacket(intptr_t host) {
        std::vector<uint8_t> packet(64);
        const intptr_t read = HostIo::Read(host, packet.data(), packet.size());
        EXPECT_GE(read, 0);
        packet.resize(read < 0 ? 0 : static_cast<size_t>(read));
        return packet;
    }

    PipeTable m_table;
    std::vector<intptr_t> m_hostEnds;
};

TEST_F(ZelportPipeDelivery, AReplyGoesToTheNewestInPipeTheToolHasNotClosed) {
    const std::vector<uint8_t> reply = {0xE4, 0x47};
    const intptr_t older = Open(Kind::In, 0);
    Open(Kind::Out, 0);
    Open(Kind::In, 1);
    const intptr_t newest = Open(Kind::In, 0);

    EXPECT_EQ(m_table.SendToNewestInPipe(0, reply), PacketPipe::SendResult::Sent);
    EXPECT_EQ(ReadPacket(newest), reply);

    Close(newest);
    EXPECT_EQ(m_table.SendToNewestInPipe(0, reply), PacketPipe::SendResult::Sent);
    EXPECT_EQ(ReadPacket(older), reply);

    Close(older);
    EXPECT_FALSE(m_table.SendToNewestInPipe(0, reply));
}

TEST_F(ZelportPipeDelivery, PipesOfAnEarlierGenerationLeadNowhere) {
    const intptr_t earlier = Open(Kind::In, 0);
    m_table.NewGeneration();
    EXPECT_TRUE(ReadPacket(earlier).empty());
    EXPECT_FALSE(m_table.SendToNewestInPipe(0, std::vector<uint8_t>{1}));

    const intptr_t current = Open(Kind::In, 0);
    EXPECT_EQ(m_table.SendToNewestInPipe(0, std::vector<uint8_t>{2}), PacketPipe::SendResult::Sent);
    EXPECT_EQ(ReadPacket(current), std::vector<uint8_t>{2});
}

TEST_F(ZelportPipeDelivery, AnUnpluggedPrintersInPipesEndAfterWhatWasSent) {
    const intptr_t unplugged = Open(Kind::In, 0);
    const intptr_t other = Open(Kind::In, 1);
    ASSERT_TRUE(m_table.SendToNewestInPipe(0, std::vector<uint8_t>{7}));
    m_table.EndInPipes(0);

    EXPECT_EQ(ReadPacket(unplugged), std::vector<uint8_t>{7});
    EXPECT_TRUE(ReadPacket(unplugged).empty());
    ASSERT_TRUE(m_table.SendToNewestInPipe(1, std::vector<uint8_t>{8}));
    EXPECT_EQ(ReadPacket(other), std::vector<uint8_t>{8});
}

TEST_F(ZelportPipeDelivery, APipeIsFoundByItsDeviceEndUntilRemoved) {
    Open(Kind::Control, 0);
    Open(Kind::Out, 1);
    const std::vector<int> watched = m_table.WatchedDescriptors();
    ASSERT_EQ(watched.size(), 2u);
    const PipeTable::Pipe* out = m_table.ByDeviceDescriptor(watched[1]);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->kind, Kind::Out);
    EXPECT_EQ(out->printer, 1u);

    m_table.Remove(watched[1]);
    EXPECT_EQ(m_table.ByDeviceDescriptor(watched[1]), nullptr);
    EXPECT_EQ(m_table.WatchedDescriptors(), std::vector<int>{watched[0]});
    EXPECT_EQ(m_table.Count(), 1u);
}

}  // namespace
