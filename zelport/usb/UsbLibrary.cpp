#include "zelport/usb/UsbLibrary.h"

#include <libusb.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <span>

#include "zelport/usb/DeviceLocation.h"

namespace zelusb {

namespace {

// Handles lie above every file descriptor, so that the kernel never mistakes a descriptor of
// the tool's for one of ours.
static_assert(sizeof(HANDLE) > sizeof(int32_t), "handles beyond every descriptor need room");
constexpr HANDLE kFirstHandle = static_cast<HANDLE>(INT32_MAX) + 1;
constexpr uint32_t kLargestTimeLimitMs = 600000;

// RXT9_USB_TIME_LIMIT_MS, when it is set, or the library's own limit.
uint32_t TimeLimit(uint32_t ownLimitMs) {
    const char* text = std::getenv("RXT9_USB_TIME_LIMIT_MS");
    if (text != nullptr && *text != '\0') {
        char* end = nullptr;
        const unsigned long value = std::strtoul(text, &end, 10);
        if (*end == '\0' && value >= 1 && value <= kLargestTimeLimitMs) {
            return static_cast<uint32_t>(value);
        }
    }
    return ownLimitMs;
}

const char* PipeName(UsbLibrary::Pipe pipe) {
    switch (pipe) {
        case UsbLibrary::Pipe::Control:
            return "control";
        case UsbLibrary::Pipe::Out:
            return "PIPE00";
        case UsbLibrary::Pipe::In:
            return "PIPE01";
    }
    return "";
}

std::string Hex4(uint16_t id) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[(id >> 12) & 0xF], kDigits[(id >> 8) & 0xF], kDigits[(id >> 4) & 0xF],
            kDigits[id & 0xF]};
}

struct DeviceListDeleter {
    void operator()(libusb_device** list) const { libusb_free_device_list(list, 1); }
};

}  // namespace

UsbLibrary& UsbLibrary::Instance() {
    static UsbLibrary library;
    return library;
}

UsbLibrary::UsbLibrary()
    : m_readLimitMs(TimeLimit(ZELPORT_USB_READ_TIME_LIMIT_MS)),
      m_writeLimitMs(TimeLimit(ZELPORT_USB_WRITE_TIME_LIMIT_MS)),
      m_nextHandle(kFirstHandle) {}

UsbLibrary::~UsbLibrary() {
    m_handles.clear();
    if (m_context != nullptr) {
        libusb_exit(m_context);
    }
}

BOOL UsbLibrary::SetVendorId(uint32_t vendorId) {
    std::lock_guard lock(m_mutex);
    m_vendorId = static_cast<uint16_t>(vendorId & 0xFFFF);
    m_trace.Call("SetVenderID", Hex4(*m_vendorId) + ": 1");
    return 1;
}

BOOL UsbLibrary::SetProductIds(const uint16_t* productIds, uint32_t count) {
    std::lock_guard lock(m_mutex);
    m_productIds.clear();
    if (productIds != nullptr) {
        m_productIds.assign(productIds, productIds + count);
    }
    std::string ids;
    for (const uint16_t id : m_productIds) {
        ids += (ids.empty() ? "" : " ") + Hex4(id);
    }
    m_trace.Call("SetProductID", (ids.empty() ? std::string("none") : ids) + ": 1");
    return 1;
}

bool UsbLibrary::Start() {
    if (m_context != nullptr) {
        return true;
    }
    const int result = libusb_init(&m_context);
    if (result != 0) {
        m_context = nullptr;
        m_diagnostics.CannotStart(libusb_error_name(result));
        return false;
    }
    return true;
}

void UsbLibrary::StopWhenIdle() {
    if (m_handles.empty() && m_context != nullptr) {
        libusb_exit(m_context);
        m_context = nullptr;
    }
}

std::shared_ptr<HeldDevice> UsbLibrary::Acquire(uint32_t deviceIndex, std::string& note) {
    if (!m_vendorId) {
        note = "no vendor id selected";
        return nullptr;
    }
    if (!Start()) {
        note = "libusb cannot start";
        return nullptr;
    }
    libusb_device** raw = nullptr;
    const ssize_t count = libusb_get_device_list(m_context, &raw);
    const std::unique_ptr<libusb_device*, DeviceListDeleter> list(raw);
    if (count < 0) {
        note =
            std::string("cannot list the devices: ") + libusb_error_name(static_cast<int>(count));
        return nullptr;
    }
    if (count == 0) {
        m_diagnostics.NoUsbAtAll();
    }
    std::vector<std::pair<DeviceLocation, libusb_device*>> matching;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(raw[i], &descriptor) != 0 ||
            descriptor.idVendor != *m_vendorId ||
            std::find(m_productIds.begin(), m_productIds.end(), descriptor.idProduct) ==
                m_productIds.end()) {
            continue;
        }
        matching.emplace_back(DeviceLocation::Of(raw[i]), raw[i]);
    }
    std::sort(matching.begin(), matching.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    if (deviceIndex >= matching.size()) {
        note = "no such device (" + std::to_string(matching.size()) + " attached)";
        return nullptr;
    }
    const DeviceLocation& location = matching[deviceIndex].first;
    for (const auto& [handle, open] : m_handles) {
        if (open.device->Location().SameDevice(location)) {
            note = location.Text() + ", held already";
            return open.device;
        }
    }
    std::shared_ptr<HeldDevice> device =
        HeldDevice::Open(matching[deviceIndex].second, m_diagnostics);
    note = location.Text() + (device ? "" : ", cannot be opened");
    return device;
}

HANDLE UsbLibrary::Open(Pipe pipe, uint32_t deviceIndex) {
    std::lock_guard lock(m_mutex);
    const std::string call = pipe == Pipe::Control ? "UsbOpenCont" : "UsbOpenBulk";
    const std::string what = std::string(PipeName(pipe)) + " device " + std::to_string(deviceIndex);
    std::string note;
    std::shared_ptr<HeldDevice> device = Acquire(deviceIndex, note);
    if (!device) {
        m_trace.Call(call, what + ": failed, " + note);
        StopWhenIdle();
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle = m_nextHandle++;
    m_handles.emplace(handle, OpenHandle{pipe, std::move(device)});
    m_trace.Call(call, what + ": handle " + std::to_string(handle) + ", " + note);
    return handle;
}

UsbLibrary::OpenHandle* UsbLibrary::Find(HANDLE handle) {
    const auto found = m_handles.find(handle);
    return found == m_handles.end() ? nullptr : &found->second;
}

bool UsbLibrary::Owns(HANDLE handle) {
    std::lock_guard lock(m_mutex);
    return Find(handle) != nullptr;
}

uint32_t UsbLibrary::Write(HANDLE handle, const void* buffer, uint32_t count, uint32_t* moved) {
    std::lock_guard lock(m_mutex);
    *moved = 0;
    OpenHandle* open = Find(handle);
    if (open == nullptr) {
        return ZELPORT_ERROR_INVALID_HANDLE;
    }
    if (open->pipe != Pipe::Out) {
        m_trace.Call("WriteFile", std::string(PipeName(open->pipe)) + ": refused, not PIPE00");
        return ZELPORT_ERROR_INVALID_FUNCTION;
    }
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const HeldDevice::Outcome outcome = open->device->Write(bytes, count, m_writeLimitMs);
    *moved = outcome.moved;
    m_trace.Transfer("WriteFile", "PIPE00", open->device->OutEndpoint(), count, outcome.moved,
                     outcome.text, std::span<const uint8_t>(bytes, count));
    return outcome.error;
}

uint32_t UsbLibrary::Read(HANDLE handle, void* buffer, uint32_t count, uint32_t* moved) {
    std::lock_guard lock(m_mutex);
    *moved = 0;
    OpenHandle* open = Find(handle);
    if (open == nullptr) {
        return ZELPORT_ERROR_INVALID_HANDLE;
    }
    if (open->pipe != Pipe::In) {
        m_trace.Call("ReadFile", std::string(PipeName(open->pipe)) + ": refused, not PIPE01");
        return ZELPORT_ERROR_INVALID_FUNCTION;
    }
    auto* bytes = static_cast<uint8_t*>(buffer);
    const HeldDevice::Outcome outcome =
        open->device->Read(bytes, count, m_readLimitMs, m_diagnostics);
    *moved = outcome.moved;
    m_trace.Transfer("ReadFile", "PIPE01", open->device->InEndpoint(), count, outcome.moved,
                     outcome.text, std::span<const uint8_t>(bytes, outcome.moved));
    return outcome.error;
}

uint32_t UsbLibrary::Close(HANDLE handle) {
    std::lock_guard lock(m_mutex);
    const auto found = m_handles.find(handle);
    if (found == m_handles.end()) {
        return ZELPORT_ERROR_INVALID_HANDLE;
    }
    const std::string pipe = PipeName(found->second.pipe);
    // The device is let go with its last handle.
    m_handles.erase(found);
    StopWhenIdle();
    m_trace.Call("CloseHandle", pipe + " handle " + std::to_string(handle) + ": ok");
    return ZELPORT_OK;
}

}  // namespace zelusb
