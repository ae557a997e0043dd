// The three handles that a simulated library hands out for a printer: its control handle
// (UsbOpenCont), its out-pipe "PIPE00" and its in-pipe "PIPE01" (UsbOpenBulk).
#pragma once

namespace zelsim {

enum class PipeKind { Control, Out, In };

}  // namespace zelsim
