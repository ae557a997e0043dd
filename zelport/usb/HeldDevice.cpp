#include "zelport/usb/HeldDevice.h"

#include <libusb.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "zelport/usb/Diagnostics.h"
#include "zelport/zelport.h"

namespace zelusb {

namespace {

struct Pipes {
    int interfaceNumber = -1;
    uint8_t out = 0;
    uint8_t in = 0;
};

bool IsBulk(const libusb_endpoint_descriptor& endpoint) {
    return (endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) == LIBUSB_TRANSFER_TYPE_BULK;
}

// The first interface, in its first setting, with a bulk-OUT and a bulk-IN endpoint.
Pipes FindPipes(libusb_device* device) {
    Pipes pipes;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0 &&
        libusb_get_config_descriptor(device, 0, &config) != 0) {
        return pipes;
    }
    for (int i = 0; i < config->bNumInterfaces && pipes.interfaceNumber < 0; ++i) {
        const libusb_interface& interface = config->interface[i];
        if (interface.num_altsetting < 1) {
            continue;
        }
        const libusb_interface_descriptor& setting = interface.altsetting[0];
        Pipes found;
        for (int e = 0; e < setting.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& endpoint = setting.endpoint[e];
            const bool in = (endpoint.bEndpointAddress & LIBUSB_ENDPOINT_IN) != 0;
            if (!IsBulk(endpoint)) {
                continue;
            }
            if (in && found.in == 0) {
                found.in = endpoint.bEndpointAddress;
            } else if (!in && found.out == 0) {
                found.out = endpoint.bEndpointAddress;
            }
        }
        if (found.in != 0 && found.out != 0) {
            found.interfaceNumber = setting.bInterfaceNumber;
            pipes = found;
        }
    }
    libusb_free_config_descriptor(config);
    return pipes;
}

}  // namespace

std::unique_ptr<HeldDevice> HeldDevice::Open(libusb_device* device, Diagnostics& diagnostics) {
    const DeviceLocation location = DeviceLocation::Of(device);
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened == LIBUSB_ERROR_ACCESS) {
        diagnostics.AccessDenied(location);
        return nullptr;
    }
    if (opened != 0) {
        if (opened != LIBUSB_ERROR_NO_DEVICE) {
            diagnostics.OpenFailed(location, libusb_strerror(opened));
        }
        return nullptr;
    }
    std::unique_ptr<HeldDevice> held(new HeldDevice(handle, location));
    const Pipes pipes = FindPipes(device);
    if (pipes.interfaceNumber < 0) {
        diagnostics.NoInterface(location);
        return nullptr;
    }
    held->m_outEndpoint = pipes.out;
    held->m_inEndpoint = pipes.in;
    const int packet = libusb_get_max_packet_size(device, pipes.in);
    if (packet > 0) {
        held->m_inPacketSize = static_cast<uint32_t>(packet);
    }
    // A printer driver (usblp) bound to the interface is detached for the claim and attached
    // again when the interface is released.
    libusb_set_auto_detach_kernel_driver(handle, 1);
    const int claimed = libusb_claim_interface(handle, pipes.interfaceNumber);
    if (claimed == LIBUSB_ERROR_BUSY) {
        diagnostics.Busy(location);
        return nullptr;
    }
    if (claimed == LIBUSB_ERROR_ACCESS) {
        diagnostics.AccessDenied(location);
        return nullptr;
    }
    if (claimed != 0) {
        if (claimed != LIBUSB_ERROR_NO_DEVICE) {
            diagnostics.OpenFailed(location, libusb_strerror(claimed));
        }
        return nullptr;
    }
    held->m_interface = pipes.interfaceNumber;
    held->m_claimed = true;
    return held;
}

HeldDevice::HeldDevice(libusb_device_handle* handle, DeviceLocation location)
    : m_handle(handle), m_location(std::move(location)) {}

HeldDevice::~HeldDevice() {
    if (m_claimed && !m_gone) {
        libusb_release_interface(m_handle, m_interface);
    }
    libusb_close(m_handle);
}

HeldDevice::Outcome HeldDevice::Failed(int result, uint8_t endpoint, uint32_t moved) {
    Outcome outcome;
    outcome.moved = moved;
    switch (result) {
        case LIBUSB_ERROR_NO_DEVICE:
            m_gone = true;
            outcome.error = ZELPORT_ERROR_DEVICE_NOT_CONNECTED;
            outcome.text = "no device";
            break;
        case LIBUSB_ERROR_PIPE:
            outcome.error = ZELPORT_ERROR_GEN_FAILURE;
            outcome.text = "stall";
            if (libusb_clear_halt(m_handle, endpoint) == LIBUSB_ERROR_NO_DEVICE) {
                m_gone = true;
            }
            break;
        default:
            outcome.error = ZELPORT_ERROR_GEN_FAILURE;
            outcome.text = libusb_error_name(result);
            break;
    }
    return outcome;
}

HeldDevice::Outcome HeldDevice::Write(const uint8_t* bytes, uint32_t count, uint32_t timeLimitMs) {
    if (m_gone) {
        return {ZELPORT_ERROR_DEVICE_NOT_CONNECTED, 0, "no device (unplugged before)"};
    }
    if (count > INT_MAX) {
        return {ZELPORT_ERROR_GEN_FAILURE, 0, "too long for one transfer"};
    }
    int transferred = 0;
    // libusb takes a non-const buffer for both directions; an OUT transfer only reads it.
    const int result = libusb_bulk_transfer(m_handle, m_outEndpoint, const_cast<uint8_t*>(bytes),
                                            static_cast<int>(count), &transferred, timeLimitMs);
    const auto moved = static_cast<uint32_t>(std::max(transferred, 0));
    if (result == 0) {
        return {ZELPORT_OK, moved, "ok"};
    }
    if (result == LIBUSB_ERROR_TIMEOUT) {
        return {ZELPORT_OK, moved, "time-out"};
    }
    return Failed(result, m_outEndpoint, moved);
}

HeldDevice::Outcome HeldDevice::Read(uint8_t* buffer, uint32_t count, uint32_t timeLimitMs,
                                     Diagnostics& diagnostics) {
    if (m_gone) {
        return {ZELPORT_ERROR_DEVICE_NOT_CONNECTED, 0, "no device (unplugged before)"};
    }
    if (count == 0) {
        return {ZELPORT_OK, 0, "ok"};
    }
    const uint64_t whole =
        (static_cast<uint64_t>(count) + m_inPacketSize - 1) / m_inPacketSize * m_inPacketSize;
    if (whole > INT_MAX) {
        return {ZELPORT_ERROR_GEN_FAILURE, 0, "too long for one transfer"};
    }
    m_inBuffer.resize(static_cast<size_t>(whole));
    int transferred = 0;
    const int result = libusb_bulk_transfer(m_handle, m_inEndpoint, m_inBuffer.data(),
                                            static_cast<int>(whole), &transferred, timeLimitMs);
    const auto arrived = static_cast<uint32_t>(std::max(transferred, 0));
    const uint32_t delivered = std::min(arrived, count);
    std::memcpy(buffer, m_inBuffer.data(), delivered);
    if (result == LIBUSB_ERROR_OVERFLOW || arrived > count) {
        const std::string sent = result == LIBUSB_ERROR_OVERFLOW
                                     ? "more than " + std::to_string(whole) + " bytes"
                                     : std::to_string(arrived) + " bytes";
        diagnostics.Overflow(m_location, "sent " + sent + " where " + std::to_string(count) +
                                             " were asked for: the read fails, and the bytes "
                                             "beyond those asked for are dropped.");
        return {ZELPORT_ERROR_MORE_DATA, delivered,
                "overflow, " + sent + " arrived, " + std::to_string(count) + " delivered"};
    }
    if (result == 0) {
        return {ZELPORT_OK, delivered, "ok"};
    }
    if (result == LIBUSB_ERROR_TIMEOUT) {
        return {ZELPORT_OK, delivered, "time-out"};
    }
    return Failed(result, m_inEndpoint, delivered);
}

}  // namespace zelusb
