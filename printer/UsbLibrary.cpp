#include "printer/UsbLibrary.h"

constinit CUsbLibrary g_usbLibrary{};
