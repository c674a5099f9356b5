#include "platform/writefaults.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<qint64> g_spaceLeft{-1};

} // namespace

namespace WriteFaults {

void setSpaceLeft(qint64 bytes) {
    g_spaceLeft.store(bytes < 0 ? -1 : bytes);
}

qint64 admit(qint64 wanted) {
    qint64 left = g_spaceLeft.load();
    while (left >= 0) {
        const qint64 taken = std::min(left, wanted);
        if (g_spaceLeft.compare_exchange_weak(left, left - taken))
            return taken;
    }
    return wanted;
}

} // namespace WriteFaults
