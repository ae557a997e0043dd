#include <gtest/gtest.h>

#include "platform/VirtualClock.h"
#include "printer/StatusQuery.h"
#include "printer/UsbPort.h"
#include "tests/harness/FakeUsbLibrary.h"
#include "tests/support/Handles.h"

namespace {

using testing_support::CountOpenHandles;
using testing_support::IsHandleOpen;

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

class UsbPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::SetClock(&clock);
        port.SetDeviceIds("2E91", "5D36");
    }
    void TearDown() override { win::SetClock(nullptr); }

    win::VirtualClock clock{0};
    FakeUsbLibrary library;
    CUsbPort port;
};

TEST_F(UsbPortTest, DeviceIdsReadAsHexadecimal) {
    struct Case {
        const char* text;
        WORD id;
    };
    const Case cases[] = {{"2E91", 0x2E91},
                          {"2e91", 0x2E91},
                          {"0x2E91", 0x2E91},
                          {"  5D36", 0x5D36},
                          {"+5d36", 0x5D36},
                          {"zz", 0},
                          {"", 0},
                          {"12345", 0x2345},
                          {"-1", 0xFFFF},
                          {"5D36xyz", 0x5D36}};
    for (const Case& c : cases) {
        CUsbPort ids;
        ids.SetDeviceIds(c.text, c.text);
        EXPECT_EQ(ids.VendorId(), c.id) << c.text;
        EXPECT_EQ(ids.ProductId(), c.id) << c.text;
    }
}

TEST_F(UsbPortTest, CountsTheRunOfOpenableDevicesAndClosesEveryProbe) {
    struct Case {
        int devices;
        std::set<std::pair<std::string, uint32_t>> failing;
        bool acceptVendor;
        int expected;
    };
    const Case cases[] = {
        {0, {}, true, 0},
        {1, {}, true, 1},
        {2, {}, true, 2},
        {3, {{"PIPE01", 1}}, true, 1},
        {3, {{"CONT", 0}}, true, 0},
        {2, {}, false, 0},
    };
    for (const Case& c : cases) {
        library.devices = c.devices;
        library.failingOpens = c.failing;
        library.acceptVendor = c.acceptVendor;
        library.opens.clear();
        const int before = CountOpenHandles();
        EXPECT_EQ(port.CountPrinters(), c.expected) << c.devices;
        library.opens.clear();  // the far ends
        EXPECT_EQ(CountOpenHandles(), before) << "no handle of the probe stays open";
        EXPECT_FALSE(port.IsPipeOpen(0));
    }
    EXPECT_EQ(library.vendorIds.back(), 0x2E91u);
    EXPECT_EQ(library.productIds.back(), 0x5D36u);
}

TEST_F(UsbPortTest, OpenAndItsFailures) {
    library.devices = 0;
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.m_nLastError, PORT_OPEN_FAILED);

    library.devices = 1;
    library.failingOpens = {{"PIPE01", 0}};
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.m_nLastError, PORT_OPEN_FAILED);
    ASSERT_EQ(library.opens.size(), 4u) << "both pipes are always attempted";
    EXPECT_FALSE(IsHandleOpen(library.opens[2].pipeEnds->NearEnd())) << "the open one is closed";
    EXPECT_FALSE(port.IsPipeOpen(0));

    library.failingOpens.clear();
    library.acceptVendor = false;
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.m_nLastError, PORT_NOT_OPEN);

    library.acceptVendor = true;
    ASSERT_TRUE(port.Open());
    EXPECT_EQ(port.m_nLastError, PORT_OK);
    EXPECT_TRUE(port.IsPipeOpen(0));
    EXPECT_TRUE(port.IsPipeOpen(1));
    EXPECT_FALSE(port.IsPipeOpen(2));
    EXPECT_FALSE(port.IsPipeOpen(-1));

    EXPECT_FALSE(port.Open()) << "a second open";
    EXPECT_EQ(port.m_nLastError, PORT_NOT_OPEN);
    EXPECT_EQ(port.Write("abc", 3), 3) << "the pipes of the first open stay usable";
    EXPECT_EQ(library.Latest("PIPE00").TakePackets(), std::vector<std::string>{"abc"});
}

TEST_F(UsbPortTest, TransfersKeepTheCodeOfTheLastFailure) {
    char buffer[36] = {};
    EXPECT_EQ(port.Write("x", 1), 0);
    EXPECT_EQ(port.m_nLastError, PORT_NOT_OPEN);
    EXPECT_EQ(port.Read(buffer, 36), 0);
    EXPECT_EQ(port.m_nLastError, PORT_NOT_OPEN);

    ASSERT_TRUE(port.Open());
    library.Latest("PIPE01").Send(std::string(18, 'r'));
    EXPECT_EQ(port.Read(buffer, 36), 18) << "a short reply is a short read";
    EXPECT_EQ(port.m_nLastError, PORT_IO_FAILED);
    EXPECT_EQ(port.Write(std::string(512, 'w').data(), 512), 512);
    EXPECT_EQ(port.m_nLastError, PORT_IO_FAILED) << "a successful transfer leaves the code";

    library.Latest("PIPE01").CloseFarEnd();
    EXPECT_EQ(port.Read(buffer, 36), 0);
    EXPECT_TRUE(port.IsPipeOpen(1)) << "a failed transfer does not close the pipes";
}

TEST_F(UsbPortTest, AWriteTakenShortReturnsTheSmallerCount) {
    library.nextOutHandle = testing_support::CreateShortWriteHandle(500);
    ASSERT_TRUE(port.Open());
    const std::string block(512, 'b');
    EXPECT_EQ(port.Write(block.data(), 512), 500);
    EXPECT_EQ(port.m_nLastError, PORT_IO_FAILED);
    EXPECT_EQ(port.Write(block.data(), 512), 0) << "a write that fails moves nothing";
}

TEST_F(UsbPortTest, CloseAndDestructionCloseOnlyOpenPipes) {
    HANDLE out = INVALID_HANDLE_VALUE;
    HANDLE in = INVALID_HANDLE_VALUE;
    {
        CUsbPort open;
        open.SetDeviceIds("2E91", "5D36");
        ASSERT_TRUE(open.Open());
        out = library.Latest("PIPE00").NearEnd();
        in = library.Latest("PIPE01").NearEnd();
    }
    EXPECT_FALSE(IsHandleOpen(out));
    EXPECT_FALSE(IsHandleOpen(in));

    const int before = CountOpenHandles();
    { CUsbPort closed; }
    EXPECT_TRUE(port.Close());
    EXPECT_EQ(CountOpenHandles(), before);
}

TEST_F(UsbPortTest, CommandsByteForByte) {
    ASSERT_TRUE(port.Open());
    auto& out = library.Latest("PIPE00");
    struct Case {
        const char* name;
        std::function<BOOL()> send;
        std::string bytes;
        DWORD sleep;
    };
    std::string startWrite(512, '\0');
    startWrite.replace(0, 4, Bytes({0x1B, 0x66, 0x73, 0x66}));
    const Case cases[] = {
        {"download mode", [&] { return port.SendDownloadMode(); },
         Bytes({0x1B, 0x66, 0x67, 0x6A, 0x70, 0x64, 0x6C, 0x00}), 0},
        {"restart", [&] { return port.SendRestart(); }, Bytes({0x1B, 0x66, 0x72, 0x00}), 0},
        {"version inquiry", [&] { return port.SendVersionInquiry(); },
         Bytes({0x1B, 0x47, 0x44, 0x30, 0x00, 0x00, 0x04, 0x0C, 0x0E, 0x0D, 0x13}), 0},
        {"prepare p", [&] { return port.SendPrepareArea(0); }, Bytes({0x1B, 0x66, 0x65, 0x70}),
         100},
        {"prepare t", [&] { return port.SendPrepareArea(1); }, Bytes({0x1B, 0x66, 0x65, 0x74}),
         100},
        {"prepare c", [&] { return port.SendPrepareArea(2); }, Bytes({0x1B, 0x66, 0x65, 0x63}),
         100},
        {"prepare f", [&] { return port.SendPrepareArea(3); }, Bytes({0x1B, 0x66, 0x65, 0x66}),
         100},
        {"prepare s", [&] { return port.SendPrepareArea(4); }, Bytes({0x1B, 0x66, 0x65, 0x73}),
         100},
        {"start f", [&] { return port.SendStartWrite(3); }, startWrite, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DWORD sleptBefore = clock.SleptTotal();
        EXPECT_TRUE(c.send());
        EXPECT_EQ(out.TakePackets(), std::vector<std::string>{c.bytes});
        EXPECT_EQ(clock.SleptTotal() - sleptBefore, c.sleep);
    }
    const DWORD sleptBefore = clock.SleptTotal();
    EXPECT_FALSE(port.SendPrepareArea(5));
    EXPECT_FALSE(port.SendStartWrite(0xFFFF));
    EXPECT_TRUE(out.TakePackets().empty());
    EXPECT_EQ(clock.SleptTotal(), sleptBefore) << "an unknown area sends nothing and waits not";

    out.CloseFarEnd();
    EXPECT_FALSE(port.SendPrepareArea(0));
    EXPECT_EQ(clock.SleptTotal(), sleptBefore) << "a failed command does not wait";
}

TEST_F(UsbPortTest, VersionReplyDecoding) {
    ASSERT_TRUE(port.Open());
    auto& in = library.Latest("PIPE01");
    std::string reply = Bytes({0xE4, 0x47, 0x44, 0x30});
    reply += "450D42" + Bytes({0x3A, 0xC3});
    reply += "452C11" + Bytes({0xBE, 0xB3});
    reply += std::string(6, '\0') + Bytes({0xFF, 0xFF});
    reply += "454F11" + Bytes({0x0A, 0x7F});

    VersionInfo info{};
    in.Send(reply);
    ASSERT_TRUE(port.ReadVersionReply(info));
    EXPECT_STREQ(info.item[0].version, "450D42");
    EXPECT_EQ(info.item[0].checksum, 0x3AC3u);
    EXPECT_STREQ(info.item[1].version, "452C11");
    EXPECT_EQ(info.item[2].checksum, 0xFFFFu);
    EXPECT_EQ(info.item[3].checksum, 0x0A7Fu);

    std::string wrongHeader = reply;
    wrongHeader[3] = 0x31;
    in.Send(wrongHeader);
    const int codeBefore = port.m_nLastError;
    EXPECT_FALSE(port.ReadVersionReply(info));
    EXPECT_STREQ(info.item[0].version, "") << "the record is cleared";
    EXPECT_EQ(info.item[0].checksum, 0u);
    EXPECT_EQ(port.m_nLastError, codeBefore);

    in.Send(reply);
    ASSERT_TRUE(port.ReadVersionReply(info));
    in.Send(reply.substr(0, 35));
    EXPECT_FALSE(port.ReadVersionReply(info));
    EXPECT_STREQ(info.item[0].version, "450D42") << "a short reply leaves the record untouched";
    EXPECT_EQ(port.m_nLastError, PORT_IO_FAILED);
}

class StatusQueryTest : public UsbPortTest {
protected:
    static std::string StatusReply(int model, int errorHigh, int errorLow, int printing) {
        std::string reply = Bytes({0xE4, 0x47, 0x44, 0x30, model, errorHigh, errorLow});
        reply += std::string(9, '\x11');
        reply += Bytes({printing, 0x22});
        return reply;
    }
    static std::string IdentityReply(const std::string& identity) {
        return std::string(22, '\x33') + identity;
    }
};

TEST_F(StatusQueryTest, DecodesStateAndIdentity) {
    ASSERT_TRUE(port.Open());
    library.Latest("PIPE01").Send(StatusReply(0x5F, 0x01, 0x02, 0x07));
    library.Latest("PIPE01").Send(IdentityReply(Bytes({0x41, 0x42, 0x00, 0x43, 0x44, 0x45})));
    CStatusQuery query;
    DWORD error = 0;
    WORD printing = 0;
    std::string model = "old";
    std::string identity = "#";
    const DWORD sleptBefore = clock.SleptTotal();
    ASSERT_TRUE(query.Query(port, &error, &printing, &model, &identity));
    EXPECT_EQ(error, 258u);
    EXPECT_EQ(printing, 7);
    EXPECT_EQ(model, "5f");
    EXPECT_EQ(identity, "#" + Bytes({0x41, 0x42, 0x00, 0x43, 0x44, 0x45}));
    EXPECT_EQ(clock.SleptTotal() - sleptBefore, 100u);
    const auto sent = library.Latest("PIPE00").TakePackets();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], Bytes({0x1B, 0x47, 0x44, 0x30, 0x00, 0x00, 0x03, 0x02, 0x16, 0x17}));
    EXPECT_EQ(sent[1], Bytes({0x1B, 0x61, 0x36, 0x36, 0x41, 0xBE, 0x00, 0x00, 0x00, 0x06, 0x00,
                              0x00, 0x00, 0x30, 0xFF, 0xFF, 0xFF, 0xF9, 0xFF, 0xFF, 0xFF, 0xCF}));
}

TEST_F(StatusQueryTest, FailuresLeaveTheOutputsUntouched) {
    struct Case {
        const char* name;
        std::vector<std::string> replies;
        int expectedError;
        size_t packetsSent;
    };
    const Case cases[] = {
        {"status reply short", {StatusReply(0x5F, 0, 0, 0).substr(0, 17)}, PORT_IO_FAILED, 1},
        {"status header wrong", {"\xE4GD1" + StatusReply(0x5F, 0, 0, 0).substr(4)}, 1, 1},
        {"identity reply short",
         {StatusReply(0x5F, 0, 0, 0), std::string(27, 'i')},
         PORT_IO_FAILED,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CUsbPort local;
        local.SetDeviceIds("2E91", "5D36");
        ASSERT_TRUE(local.Open());
        for (const std::string& reply : c.replies) {
            library.Latest("PIPE01").Send(reply);
        }
        CStatusQuery query;
        DWORD error = 99;
        WORD printing = 99;
        std::string model = "m";
        std::string identity = "i";
        EXPECT_FALSE(query.Query(local, &error, &printing, &model, &identity));
        EXPECT_EQ(query.m_nLastError, c.expectedError);
        EXPECT_EQ(error, 99u);
        EXPECT_EQ(printing, 99);
        EXPECT_EQ(model, "m");
        EXPECT_EQ(identity, "i");
        EXPECT_EQ(library.Latest("PIPE00").TakePackets().size(), c.packetsSent);
    }
}

TEST_F(StatusQueryTest, ClosedPipeSendsNothing) {
    CStatusQuery query;
    EXPECT_FALSE(query.Query(port, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(query.m_nLastError, 1);
    EXPECT_TRUE(library.opens.empty());
}

}  // namespace
