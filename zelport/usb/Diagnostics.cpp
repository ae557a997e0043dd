#include "zelport/usb/Diagnostics.h"

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <memory>

#include "zelport/usb/DeviceLocation.h"

namespace zelusb {

namespace {

constexpr char kWho[] = "ZELPORT.so: ";
constexpr char kRule[] = "70-rxt9-update.rules";

// The first other process that has the node open, as "name (pid N)", from /proc; empty when
// none is found or /proc tells nothing (another user's processes are not readable).
std::string HolderOf(const std::string& node) {
    const std::unique_ptr<DIR, int (*)(DIR*)> processes(opendir("/proc"), closedir);
    if (!processes) {
        return "";
    }
    const std::string self = std::to_string(getpid());
    while (const dirent* process = readdir(processes.get())) {
        const std::string pid = process->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos ||
            pid == self) {
            continue;
        }
        const std::string fds = "/proc/" + pid + "/fd";
        const std::unique_ptr<DIR, int (*)(DIR*)> descriptors(opendir(fds.c_str()), closedir);
        if (!descriptors) {
            continue;
        }
        while (const dirent* descriptor = readdir(descriptors.get())) {
            std::string target(256, '\0');
            const std::string link = fds + "/" + descriptor->d_name;
            const ssize_t length = readlink(link.c_str(), target.data(), target.size());
            if (length <= 0 || target.compare(0, static_cast<size_t>(length), node) != 0 ||
                static_cast<size_t>(length) != node.size()) {
                continue;
            }
            std::string name;
            std::ifstream comm("/proc/" + pid + "/comm");
            std::getline(comm, name);
            return (name.empty() ? "a program" : name) + " (pid " + pid + ")";
        }
    }
    return "";
}

}  // namespace

std::string Diagnostics::Device(const DeviceLocation& location) {
    return "the printer at " + location.Text();
}

void Diagnostics::Say(const std::string& line) {
    if (m_said.insert(line).second) {
        // In one write, so that the tool's output from another thread cannot split it.
        std::cerr << kWho + line + '\n';
    }
}

void Diagnostics::AccessDenied(const DeviceLocation& location) {
    Say(Device(location) + " cannot be opened: access denied. Install the udev rule " + kRule +
        " (see \"Updating a real printer on Linux\" in the README), or if it is installed, "
        "unplug the printer and plug it in again.");
}

void Diagnostics::Busy(const DeviceLocation& location) {
    const std::string holder = HolderOf(location.NodePath());
    Say(Device(location) + " cannot be claimed: " +
        (holder.empty() ? std::string("another program holds it") : "it is held by " + holder) +
        ". Close that program (a printing system such as CUPS, for instance) and try again.");
}

void Diagnostics::OpenFailed(const DeviceLocation& location, const std::string& reason) {
    Say(Device(location) + " cannot be opened: " + reason +
        ". Unplug the printer and plug it in again.");
}

void Diagnostics::NoInterface(const DeviceLocation& location) {
    Say(Device(location) +
        " has no interface with a bulk-out and a bulk-in endpoint; it is not an RX-T9.");
}

void Diagnostics::CannotStart(const std::string& reason) {
    Say("libusb cannot start (" + reason +
        "), so no printer can be found. The USB devices are not reachable here: is /dev/bus/usb "
        "there (in a container, pass it in)?");
}

void Diagnostics::NoUsbAtAll() {
    Say("no USB device is visible at all, so no printer can be found. The USB devices are not "
        "reachable here: are /dev/bus/usb and /sys/bus/usb there (in a container, pass them in)?");
}

void Diagnostics::Overflow(const DeviceLocation& location, const std::string& what) {
    Say(Device(location) + " " + what);
}

}  // namespace zelusb
