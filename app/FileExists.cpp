#include "app/FileExists.h"

#include "platform/Kernel.h"

BOOL FileExists(const char* path) {
    return win::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? TRUE : FALSE;
}
