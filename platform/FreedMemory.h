#pragma once

#include <QtGlobal>

namespace pomelark {

/// Memory the process has freed that the C library's allocator still holds.
///
/// glibc keeps what is freed for later allocations, in the arena of the thread
/// that allocated it (x265's threads each have one), and raises the size from
/// which it maps an allocation of its own to the largest it has seen freed, up
/// to 32 MB: after a photo's conversion the process goes on holding much of its
/// peak, where no budget counts it.
class FreedMemory {
public:
    /// Hands the whole pages of freed memory that the allocator holds, in all
    /// its arenas, back to the system. Takes a walk through the free memory (a
    /// millisecond or so); does nothing where the C library cannot.
    static void giveBack();

    /// From now on, for the whole process, allocations of `bytes` or more are
    /// mapped on their own and unmapped as soon as they are freed, whatever
    /// sizes were freed before. Does nothing where the C library cannot.
    static void mapFrom(qint64 bytes);
};

} // namespace pomelark
