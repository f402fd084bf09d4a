// Preloaded into heif-enc by send_bench, it makes the machine look as small as
// the CPU set the run was given, for x265 above all: x265 sizes its thread pool
// from the processor count and moves its workers onto the whole NUMA node, out
// of the set. Here the move does nothing (every thread keeps the mask it
// inherits) and the processor count is the number of CPUs in that mask. Our own
// programs size x265 themselves and keep its threads in their own processes;
// the ffmpeg they start preloads the app's libpomelark-keep-cpus.so for the move
// (platform/NumaAffinity.cpp), and is given its pool size in its arguments.
#include <dlfcn.h>
#include <sched.h>
#include <unistd.h>

extern "C" {

struct bitmask;

int numa_run_on_node_mask(struct bitmask *)
{
    return 0;
}

long sysconf(int name)
{
    using Sysconf = long (*)(int);
    static const auto real = reinterpret_cast<Sysconf>(dlsym(RTLD_NEXT, "sysconf"));
    if (name == _SC_NPROCESSORS_ONLN || name == _SC_NPROCESSORS_CONF) {
        cpu_set_t set;
        CPU_ZERO(&set);
        if (sched_getaffinity(0, sizeof(set), &set) == 0)
            return CPU_COUNT(&set);
    }
    return real(name);
}

} // extern "C"
