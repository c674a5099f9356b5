#pragma once

#include "platform/writefaults.h"

// A disk that holds only this many more bytes while the object lives: every writer of the program then fails
// as on a full disk.
struct DiskSpace {
    explicit DiskSpace(qint64 bytes) { WriteFaults::setSpaceLeft(bytes); }
    ~DiskSpace() { WriteFaults::setSpaceLeft(-1); }
    DiskSpace(const DiskSpace&) = delete;
    DiskSpace& operator=(const DiskSpace&) = delete;
};
