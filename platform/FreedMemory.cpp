#include "platform/FreedMemory.h"

#include <algorithm>
#include <climits>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace pomelark {

void FreedMemory::giveBack()
{
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

void FreedMemory::mapFrom(qint64 bytes)
{
#if defined(__GLIBC__)
    // Fixing the threshold also stops glibc raising it, and its trim threshold, as it goes.
    ::mallopt(M_MMAP_THRESHOLD, int(std::clamp<qint64>(bytes, 0, INT_MAX)));
#else
    Q_UNUSED(bytes);
#endif
}

} // namespace pomelark
