#include "platform/qt/DisplayConnection.h"

#include <dlfcn.h>

#include <QGuiApplication>

namespace win {

namespace {

using ConnectionErrorFunction = int (*)(xcb_connection_t*);

// The X11 platform plugin has loaded libxcb; the program needs no link to it of its own.
ConnectionErrorFunction ConnectionError() {
    static const ConnectionErrorFunction function = [] {
        void* library = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
        return library != nullptr ? reinterpret_cast<ConnectionErrorFunction>(
                                        dlsym(library, "xcb_connection_has_error"))
                                  : nullptr;
    }();
    return function;
}

}  // namespace

bool DisplayConnection::Broken() {
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (application == nullptr) {
        return false;
    }
    auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return false;
    }
    const ConnectionErrorFunction connectionError = ConnectionError();
    return connectionError != nullptr && connectionError(x11->connection()) != 0;
}

}  // namespace win
