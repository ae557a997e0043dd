/* The vendor USB interface library's entry points, as the tool loads them at run time.
 * On Linux a handle is a file descriptor: ReadFile, WriteFile and CloseHandle on it are one
 * read(2), one write(2) and one close(2), unless the library serves its handles itself through
 * the file operations below. Descriptors 0 to 2 are the tool's standard streams and never work
 * as pipe handles. */
#ifndef ZELPORT_ZELPORT_H
#define ZELPORT_ZELPORT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t BOOL;
typedef intptr_t HANDLE; /* a file descriptor */
#define INVALID_HANDLE_VALUE ((HANDLE)-1)

BOOL SetVenderID(uint32_t vendorId); /* vendor id in the low 16 bits; 0: refused */
BOOL SetProductID(const uint16_t* productIds, uint32_t count);
HANDLE UsbOpenCont(uint32_t deviceIndex, uint32_t reserved);
HANDLE UsbOpenBulk(const char* pipeName, uint32_t deviceIndex);
BOOL UsbDeviceIoControl(HANDLE device, uint32_t code, void* in, uint32_t inSize, void* out,
                        uint32_t outSize, uint32_t* returned);

/* File operations that a library may export for the handles it hands out, as a constant
 * ZELPORT_FILE_OPERATIONS object named "ZelportFileOperations" (ZELPORT_FILE_OPERATIONS_SYMBOL).
 * The tool looks it up when it loads the library and, while the library stays loaded, hands
 * every ReadFile, WriteFile and CloseHandle on a handle for which `owns` answers non-zero to
 * it, the way a Windows device handle reaches its driver. A library without it hands out
 * descriptors.
 *
 * Each call is one synchronous transfer with its true result: 0 (ZELPORT_OK) with `*moved` the
 * bytes that moved, which may be fewer than asked; or a Windows error code below, which the
 * tool's call reports as failure with that last-error code. `close` ends the handle whatever it
 * returns. `owns` is asked for every handle the tool passes to those calls, descriptors of its
 * own files included, and answers non-zero only for handles the library handed out and has not
 * closed yet. Handles that are no descriptors of the library's (ZELPORT.so over libusb) lie
 * above INT32_MAX, where no descriptor can be. */
#define ZELPORT_FILE_OPERATIONS_SYMBOL "ZelportFileOperations"
#define ZELPORT_FILE_OPERATIONS_VERSION 1u

#define ZELPORT_OK 0u
#define ZELPORT_ERROR_INVALID_FUNCTION 1u /* not a call this handle serves */
#define ZELPORT_ERROR_INVALID_HANDLE 6u
#define ZELPORT_ERROR_NOT_ENOUGH_MEMORY 8u
#define ZELPORT_ERROR_GEN_FAILURE 31u /* the device refused the transfer */
#define ZELPORT_ERROR_MORE_DATA 234u  /* the device sent more than was asked */
#define ZELPORT_ERROR_DEVICE_NOT_CONNECTED 1167u
#define ZELPORT_ERROR_TIMEOUT 1460u /* the time limit passed before the transfer */

typedef struct ZELPORT_FILE_OPERATIONS {
    uint32_t version; /* ZELPORT_FILE_OPERATIONS_VERSION */
    BOOL (*owns)(HANDLE handle);
    uint32_t (*read)(HANDLE handle, void* buffer, uint32_t count, uint32_t* moved);
    uint32_t (*write)(HANDLE handle, const void* buffer, uint32_t count, uint32_t* moved);
    uint32_t (*close)(HANDLE handle);
} ZELPORT_FILE_OPERATIONS;

/* ZELPORT.so over libusb (zelport/usb) serves its handles through these operations:
 * - Each WriteFile on "PIPE00" is one bulk-OUT transfer of the whole count, and each ReadFile
 *   on "PIPE01" one bulk-IN transfer; the control handle of UsbOpenCont takes neither.
 * - Each transfer has a time limit. A read's, ZELPORT_USB_READ_TIME_LIMIT_MS, is far beyond
 *   the few milliseconds a reply takes, as every reply follows the tool's fixed wait for it,
 *   yet short enough that a silent printer is reported within seconds. A write's,
 *   ZELPORT_USB_WRITE_TIME_LIMIT_MS, is the longest time limit of an item (180 s): a printer
 *   may hold a block while it writes its flash, and the tool's own limit per item is checked
 *   between blocks, never cutting a blocked write short, so a shorter limit here would fail an
 *   update the printer would have finished. A transfer that reaches its limit returns success
 *   with the bytes that moved, fewer than asked. RXT9_USB_TIME_LIMIT_MS (1 to 600000) replaces
 *   both, for tests.
 * - A read asks the device for the count rounded up to whole packets. When more than the count
 *   arrives, the read fails with ZELPORT_ERROR_MORE_DATA: the asked bytes are in the buffer and
 *   `*moved` says so, the rest is dropped, and the library says so on stderr and in its trace.
 *   A reply of the wrong length is a broken reply; keeping the rest for the next read would
 *   only misalign every reply after it.
 * - A stalled endpoint fails the transfer and is cleared, so that the next command reaches
 *   the printer. An unplugged printer fails the transfer with
 *   ZELPORT_ERROR_DEVICE_NOT_CONNECTED, and every later transfer on its handles at once. */
#define ZELPORT_USB_READ_TIME_LIMIT_MS 5000u
#define ZELPORT_USB_WRITE_TIME_LIMIT_MS 180000u

typedef BOOL (*PFN_SetVenderID)(uint32_t);
typedef BOOL (*PFN_SetProductID)(const uint16_t*, uint32_t);
typedef HANDLE (*PFN_UsbOpenCont)(uint32_t, uint32_t);
typedef HANDLE (*PFN_UsbOpenBulk)(const char*, uint32_t);
typedef BOOL (*PFN_UsbDeviceIoControl)(HANDLE, uint32_t, void*, uint32_t, void*, uint32_t,
                                       uint32_t*);

#ifdef __cplusplus
}
#endif

#endif
