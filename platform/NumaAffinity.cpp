// x265 (inside libheif, and inside the ffmpeg we start) is built with libnuma:
// each of its threads calls numa_run_on_node_mask() as it starts, which sets
// the thread's affinity to every CPU of the NUMA nodes its pool was given,
// whatever CPUs this process was started on (taskset, or a launcher that set
// its affinity); only a cgroup cpuset would still hold it. x265 has no setting
// that skips the call while libnuma reports NUMA as available.
//
// Defining the function in our executables takes the call away from libnuma:
// the dynamic linker binds a shared library's reference to the executable's
// definition first. Ours leaves the thread on the CPUs it inherited, which are
// the ones the process was given. Nothing else here asks libnuma to move a
// thread. x265 still applies its memory interleave policy for the node, which
// moves no thread.
//
// Nothing of ours calls it: platform/CMakeLists.txt links it into every
// executable that uses this library and exports it from them by name. The
// same file is also built as a library of its own for the ffmpeg we start,
// which preloads it (CpuSetPreload): a preloaded library's definitions come
// before libnuma's just as an executable's do.

extern "C" {

struct bitmask;

int numa_run_on_node_mask(struct bitmask *)
{
    return 0;
}

} // extern "C"
