#pragma once

#include "platform/WinTypes.h"

// Whether the file system reports a status for the path; the file is neither opened nor read.
BOOL FileExists(const char* path);
