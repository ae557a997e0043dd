// The descriptors the process holds, for tests that check that nothing stays open: files,
// device nodes, timer descriptors, pipes. Sockets and event descriptors are left out: umockdev's
// worker thread closes its end of each device connection, and the GLib main context it made
// for it, at a moment of its own, and its preload keeps a connection for an open that the file
// system refused. What libusb holds shows all the same: a device handle as its device node, a
// running libusb as its timer descriptor.
#pragma once

#include <string>
#include <vector>

namespace zelusb {

// What each of those descriptors refers to, in descriptor order: "7 -> /tmp/.../trace".
std::vector<std::string> DescriptorsBesideSocketsAndEvents();

}  // namespace zelusb
