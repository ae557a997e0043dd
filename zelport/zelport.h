/* The vendor USB interface library's entry points, as the tool loads them at run time.
 * On Linux a handle is a file descriptor: ReadFile, WriteFile and CloseHandle on it are one
 * read(2), one write(2) and one close(2). Descriptors 0 to 2 are the tool's standard streams
 * and never work as pipe handles. */
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
