// The binding of the vendor USB library for the whole process: its module handle and its
// five entry points, null until start-up binds them. A plain record: the program frees the
// library when it ends, after the application object is gone (see UpdateApp.cpp).
#pragma once

#include "platform/Kernel.h"
#include "zelport/zelport.h"

struct CUsbLibrary {
    win::HMODULE m_hModule;
    PFN_SetVenderID SetVenderID;
    PFN_SetProductID SetProductID;
    PFN_UsbOpenCont UsbOpenCont;
    PFN_UsbOpenBulk UsbOpenBulk;
    PFN_UsbDeviceIoControl UsbDeviceIoControl;

    // Takes a loaded library and looks up its five entry points; TRUE when it offers all of
    // them. The module is kept either way, for Unload to free.
    BOOL Bind(win::HMODULE module);
    // All five entry points are bound.
    BOOL IsComplete() const {
        return SetVenderID != nullptr && SetProductID != nullptr && UsbOpenCont != nullptr &&
                       UsbOpenBulk != nullptr && UsbDeviceIoControl != nullptr
                   ? TRUE
                   : FALSE;
    }

    // Frees the library, if one is loaded, and clears the record.
    void Unload() {
        if (m_hModule != nullptr) {
            win::FreeLibrary(m_hModule);
        }
        m_hModule = nullptr;
        SetVenderID = nullptr;
        SetProductID = nullptr;
        UsbOpenCont = nullptr;
        UsbOpenBulk = nullptr;
        UsbDeviceIoControl = nullptr;
    }
};

// Constant-initialised, so that it is clear before any object of the program is built.
extern constinit CUsbLibrary g_usbLibrary;
