#include "tests/zelport/usb/testbed/EmulatedPrinter.h"

#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <iomanip>
#include <optional>
#include <sstream>

#include "sim/AreaLayout.h"

namespace zelusb {

namespace {

struct DataRelease {
    void operator()(_UMockdevIoctlData* data) const {
        if (data != nullptr) {
            g_object_unref(data);
        }
    }
};
// A block of the client's memory as umockdev resolved it; the caller owns the reference.
using Resolved = std::unique_ptr<_UMockdevIoctlData, DataRelease>;

Resolved Resolve(_UMockdevIoctlData* parent, size_t offset, size_t length) {
    return Resolved(umockdev_ioctl_data_resolve(parent, offset, length, nullptr));
}

}  // namespace

// A URB as libusb submitted it, with the copies umockdev resolved from the client's memory;
// what the device writes into them goes back to the client when the URB is reaped.
struct EmulatedPrinter::Urb {
    Resolved urb;
    Resolved buffer;
    uint8_t endpoint = 0;
    int length = 0;
    bool done = false;
    int status = 0;
    int actual = 0;
    // A write the printer takes only once this time has come (UsbFaults::holdWrite).
    std::optional<std::chrono::steady_clock::time_point> heldUntil;

    usbdevfs_urb* Fields() const { return reinterpret_cast<usbdevfs_urb*>(urb->data); }
    void Finish(int finalStatus, int moved) {
        done = true;
        status = finalStatus;
        actual = moved;
    }
};

EmulatedPrinter::EmulatedPrinter(const sim::PrinterConfig& config, UsbFaults faults)
    : m_printer(config),
      m_faults(faults),
      m_handler(umockdev_ioctl_base_new()),
      m_driverBound(faults.kernelDriver) {
    g_signal_connect_after(m_handler, "handle-ioctl", G_CALLBACK(&EmulatedPrinter::OnIoctl), this);
}

EmulatedPrinter::~EmulatedPrinter() {
    g_signal_handlers_disconnect_by_data(m_handler, this);
    g_object_unref(m_handler);
}

int EmulatedPrinter::OnIoctl(_UMockdevIoctlBase* /*handler*/, _UMockdevIoctlClient* client,
                             void* self) {
    return static_cast<EmulatedPrinter*>(self)->Handle(client) ? TRUE : FALSE;
}

bool EmulatedPrinter::Handle(_UMockdevIoctlClient* client) {
    std::lock_guard lock(m_mutex);
    _UMockdevIoctlData* argument = umockdev_ioctl_client_get_arg(client);
    switch (umockdev_ioctl_client_get_request(client)) {
        case USBDEVFS_GET_CAPABILITIES: {
            // Scatter-gather makes every bulk transfer one URB, whatever its length.
            const Resolved caps = Resolve(argument, 0, sizeof(uint32_t));
            const uint32_t value =
                USBDEVFS_CAP_BULK_SCATTER_GATHER | USBDEVFS_CAP_BULK_CONTINUATION |
                USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
            std::memcpy(caps->data, &value, sizeof(value));
            umockdev_ioctl_client_complete(client, 0, 0);
            return true;
        }
        case USBDEVFS_DISCONNECT_CLAIM:
        case USBDEVFS_CLAIMINTERFACE:
            Claim(client);
            return true;
        case USBDEVFS_RELEASEINTERFACE:
            m_claims = m_claims > 0 ? m_claims - 1 : 0;
            umockdev_ioctl_client_complete(client, 0, 0);
            return true;
        case USBDEVFS_IOCTL:
            Reattach(client, argument);
            return true;
        case USBDEVFS_GETDRIVER:
            umockdev_ioctl_client_complete(client, -1, m_driverBound ? EBUSY : ENODATA);
            return true;
        case USBDEVFS_CLEAR_HALT:
        case USBDEVFS_RESET:
            umockdev_ioctl_client_complete(client, m_unplugged ? -1 : 0, m_unplugged ? ENODEV : 0);
            return true;
        case USBDEVFS_SUBMITURB:
            Submit(client, argument);
            return true;
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY:
            Reap(client, argument);
            return true;
        case USBDEVFS_DISCARDURB:
            Discard(client, argument);
            return true;
        default:
            return false;
    }
}

void EmulatedPrinter::Claim(_UMockdevIoctlClient* client) {
    if (m_unplugged) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
    } else if (m_faults.claimBusy) {
        umockdev_ioctl_client_complete(client, -1, EBUSY);
    } else {
        // A claim through DISCONNECT_CLAIM detaches the driver first.
        m_driverBound = false;
        ++m_claims;
        umockdev_ioctl_client_complete(client, 0, 0);
    }
}

void EmulatedPrinter::Reattach(_UMockdevIoctlClient* client, _UMockdevIoctlData* argument) {
    const Resolved request = Resolve(argument, 0, sizeof(usbdevfs_ioctl));
    const auto* fields = reinterpret_cast<const usbdevfs_ioctl*>(request->data);
    if (fields->ioctl_code == static_cast<int>(USBDEVFS_CONNECT) && m_faults.kernelDriver) {
        m_driverBound = true;
        umockdev_ioctl_client_complete(client, 0, 0);
        return;
    }
    umockdev_ioctl_client_complete(client, -1, ENODATA);
}

void EmulatedPrinter::Submit(_UMockdevIoctlClient* client, _UMockdevIoctlData* argument) {
    if (m_unplugged) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return;
    }
    auto urb = std::make_unique<Urb>();
    urb->urb = Resolve(argument, 0, sizeof(usbdevfs_urb));
    if (!urb->urb) {
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return;
    }
    const usbdevfs_urb* fields = urb->Fields();
    urb->endpoint = fields->endpoint;
    urb->length = fields->buffer_length;
    if (urb->length > 0) {
        urb->buffer = Resolve(urb->urb.get(), offsetof(usbdevfs_urb, buffer),
                              static_cast<size_t>(urb->length));
    }
    if (fields->type != USBDEVFS_URB_TYPE_BULK ||
        (urb->endpoint != kOutEndpoint && urb->endpoint != kInEndpoint)) {
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return;
    }
    if (urb->endpoint == kOutEndpoint) {
        if (++m_writes == m_faults.holdWrite) {
            urb->heldUntil =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(m_faults.holdMs);
        } else {
            TakeWrite(*urb);
        }
    }
    m_urbs.push_back(std::move(urb));
    if (m_unplugged) {
        EndAll(-ENODEV);
    }
    FillInUrbs();
    umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedPrinter::TakeWrite(Urb& urb) {
    using Outcome = sim::SimulatedPrinter::WriteResult::Outcome;
    const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(urb.buffer->data),
                                         static_cast<size_t>(urb.length));
    const sim::SimulatedPrinter::WriteResult result = m_printer.OnHostWrite(bytes, 0);
    const int taken = static_cast<int>(result.taken);
    switch (result.outcome) {
        case Outcome::Taken:
            urb.Finish(0, taken);
            break;
        case Outcome::TakenShort:
        case Outcome::TimedOut:
            // The printer stops taking packets: the URB stays in flight with what moved,
            // until libusb gives up on it.
            urb.actual = taken;
            break;
        case Outcome::Failed:
            urb.Finish(m_printer.IsAttached() ? -EPIPE : -ENODEV, 0);
            break;
        case Outcome::Gone:
            urb.Finish(-ENODEV, 0);
            break;
    }
    if (!m_printer.IsAttached()) {
        m_unplugged = true;
    }
    TakeReplies();
}

// libusb reaps while it waits for a transfer, so a held write ends at the first reap after its
// time, as a printer that paused ends its transfer.
void EmulatedPrinter::ReleaseHeldWrites() {
    const auto now = std::chrono::steady_clock::now();
    for (const std::unique_ptr<Urb>& urb : m_urbs) {
        if (!urb->done && urb->heldUntil && *urb->heldUntil <= now) {
            urb->heldUntil.reset();
            TakeWrite(*urb);
        }
    }
    if (m_unplugged) {
        EndAll(-ENODEV);
    }
    FillInUrbs();
}

void EmulatedPrinter::TakeReplies() {
    while (std::optional<sim::SimulatedPrinter::Reply> reply = m_printer.TakeReply()) {
        m_replies.push_back(std::move(reply->bytes));
    }
}

void EmulatedPrinter::FillInUrbs() {
    for (const std::unique_ptr<Urb>& urb : m_urbs) {
        if (m_replies.empty() || m_unplugged) {
            return;
        }
        if (urb->done || urb->endpoint != kInEndpoint) {
            continue;
        }
        std::vector<uint8_t> reply = std::move(m_replies.front());
        m_replies.pop_front();
        const uint32_t number = ++m_repliesArrived;
        if (number == m_faults.unplugAtReply) {
            m_unplugged = true;
            EndAll(-ENODEV);
            return;
        }
        if (number == m_faults.overflowReply) {
            reply.insert(reply.end(), m_faults.extraBytes, 0xEE);
        }
        const int size = static_cast<int>(reply.size());
        const int moved = std::min(size, urb->length);
        std::memcpy(urb->buffer->data, reply.data(), static_cast<size_t>(moved));
        if (size > urb->length && urb->length % kPacketSize == 0) {
            // Whole packets fill the URB; the rest waits for the next one.
            m_replies.emplace_front(reply.begin() + moved, reply.end());
            --m_repliesArrived;
            urb->Finish(0, moved);
        } else {
            // A packet that does not fit is babble: the host controller reports an overflow.
            urb->Finish(size > urb->length ? -EOVERFLOW : 0, moved);
        }
    }
}

void EmulatedPrinter::EndAll(int status) {
    for (const std::unique_ptr<Urb>& urb : m_urbs) {
        if (!urb->done) {
            urb->Finish(status, urb->actual);
        }
    }
}

void EmulatedPrinter::Reap(_UMockdevIoctlClient* client, _UMockdevIoctlData* argument) {
    ReleaseHeldWrites();
    const auto done = std::find_if(m_urbs.begin(), m_urbs.end(),
                                   [](const std::unique_ptr<Urb>& urb) { return urb->done; });
    if (done == m_urbs.end()) {
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
        return;
    }
    std::unique_ptr<Urb> urb = std::move(*done);
    m_urbs.erase(done);
    usbdevfs_urb* fields = urb->Fields();
    fields->status = urb->status;
    fields->actual_length = urb->actual;
    const Resolved pointer = Resolve(argument, 0, sizeof(void*));
    umockdev_ioctl_data_set_ptr(pointer.get(), 0, urb->urb.get());
    umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedPrinter::Discard(_UMockdevIoctlClient* client, _UMockdevIoctlData* argument) {
    const unsigned long address = *reinterpret_cast<const unsigned long*>(argument->data);
    for (const std::unique_ptr<Urb>& urb : m_urbs) {
        if (!urb->done && urb->urb->client_addr == address) {
            urb->Finish(-ENOENT, urb->actual);
            umockdev_ioctl_client_complete(client, 0, 0);
            return;
        }
    }
    umockdev_ioctl_client_complete(client, -1, EINVAL);
}

void EmulatedPrinter::Unplug() {
    std::lock_guard lock(m_mutex);
    m_unplugged = true;
    EndAll(-ENODEV);
}

std::string EmulatedPrinter::ReceivedLog() {
    std::lock_guard lock(m_mutex);
    return m_printer.Device().Log().Text();
}

std::string EmulatedPrinter::Firmware(char area) {
    std::lock_guard lock(m_mutex);
    const sim::AreaLayout* layout = sim::AreaLayout::ByLetter(area);
    if (layout == nullptr) {
        return "";
    }
    const sim::ItemFirmware& firmware = m_printer.Device().Reported(*layout);
    std::ostringstream text;
    text << std::string(firmware.version.begin(), firmware.version.end()) << '/' << std::uppercase
         << std::hex << std::setw(4) << std::setfill('0') << firmware.checksum;
    return text.str();
}

bool EmulatedPrinter::InDownloadMode() {
    std::lock_guard lock(m_mutex);
    return m_printer.Device().InDownloadMode();
}

bool EmulatedPrinter::Attached() {
    std::lock_guard lock(m_mutex);
    return !m_unplugged;
}

bool EmulatedPrinter::KernelDriverBound() {
    std::lock_guard lock(m_mutex);
    return m_driverBound;
}

size_t EmulatedPrinter::UrbsInFlight() {
    std::lock_guard lock(m_mutex);
    return m_urbs.size();
}

uint32_t EmulatedPrinter::Claims() {
    std::lock_guard lock(m_mutex);
    return m_claims;
}

}  // namespace zelusb
