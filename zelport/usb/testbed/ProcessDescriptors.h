// The descriptors the process holds, for tests that check that nothing stays open: files,
// device nodes, event and timer descriptors, pipes. Sockets are left out: umockdev's worker
// thread closes its end of each device connection at a moment of its own, and its preload
// keeps a connection for an open that the file system refused.
#pragma once

namespace zelusb {

int CountDescriptorsBesideSockets();

}  // namespace zelusb
