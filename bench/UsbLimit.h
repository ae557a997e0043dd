// The most a USB 2.0 high-speed bulk pipe carries: 13 packets of 512 bytes per 125 us
// microframe.
#pragma once

constexpr double kUsbLimitBytesPerSecond = 13.0 * 512.0 * 8000.0;
