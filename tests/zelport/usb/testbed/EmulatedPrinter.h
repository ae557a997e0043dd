// One printer behind umockdev's emulated usbfs: answers the ioctls libusb makes on the device
// node (claims, driver queries, URB submit, reap and discard) from the umockdev worker thread,
// and feeds every bulk transfer to the printer model of sim/, whose replies come back on the
// bulk-IN endpoint. Nothing here blocks: a transfer the printer does not answer stays in
// flight until libusb discards it at its time limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/PrinterConfig.h"
#include "sim/SimulatedPrinter.h"
#include "tests/zelport/usb/testbed/UsbFaults.h"

struct _UMockdevIoctlBase;    // NOLINT(bugprone-reserved-identifier): umockdev's name
struct _UMockdevIoctlClient;  // NOLINT(bugprone-reserved-identifier): umockdev's name
struct _UMockdevIoctlData;    // NOLINT(bugprone-reserved-identifier): umockdev's name

namespace zelusb {

class EmulatedPrinter {
public:
    static constexpr uint8_t kOutEndpoint = 0x01;
    static constexpr uint8_t kInEndpoint = 0x81;
    static constexpr int kPacketSize = 512;

    EmulatedPrinter(const sim::PrinterConfig& config, UsbFaults faults);
    ~EmulatedPrinter();
    EmulatedPrinter(const EmulatedPrinter&) = delete;
    EmulatedPrinter& operator=(const EmulatedPrinter&) = delete;

    // The ioctl handler to attach to the device node.
    _UMockdevIoctlBase* Handler() const { return m_handler; }

    // Pulls the plug: transfers in flight and every later one fail with ENODEV.
    void Unplug();

    std::string ReceivedLog();
    std::string Firmware(char area);  // "450D42/3AC3"
    bool InDownloadMode();
    bool Attached();
    bool KernelDriverBound();
    size_t UrbsInFlight();
    uint32_t Claims();

private:
    struct Urb;

    static int OnIoctl(_UMockdevIoctlBase* handler, _UMockdevIoctlClient* client, void* self);
    bool Handle(_UMockdevIoctlClient* client);
    void Submit(_UMockdevIoctlClient* client, _UMockdevIoctlData* argument);
    void Reap(_UMockdevIoctlClient* client, _UMockdevIoctlData* argument);
    void Discard(_UMockdevIoctlClient* client, _UMockdevIoctlData* argument);
    void Claim(_UMockdevIoctlClient* client);
    void Reattach(_UMockdevIoctlClient* client, _UMockdevIoctlData* argument);
    void TakeWrite(Urb& urb);
    void ReleaseHeldWrites();
    void TakeReplies();
    void FillInUrbs();
    void EndAll(int status);

    std::mutex m_mutex;
    sim::SimulatedPrinter m_printer;
    UsbFaults m_faults;
    _UMockdevIoctlBase* m_handler;
    std::deque<std::unique_ptr<Urb>> m_urbs;  // submitted, in order; done ones are reaped first
    std::deque<std::vector<uint8_t>> m_replies;
    uint32_t m_repliesArrived = 0;
    uint32_t m_writes = 0;
    uint32_t m_claims = 0;
    bool m_unplugged = false;
    bool m_driverBound = false;
};

}  // namespace zelusb
