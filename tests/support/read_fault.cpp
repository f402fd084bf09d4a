// Loaded into a real program with LD_PRELOAD, this makes the reads of one file
// fail part way, as they do when a card is pulled while a program reads it:
//   POMELARK_READ_FAULT_FILE   the file whose reads fail
//   POMELARK_READ_FAULT_AFTER  how many bytes of it read well first
//   POMELARK_READ_FAULT_GATE   (optional) a folder: on reaching the fault, the
//                              reader makes "reached" there and waits for
//                              "pulled" before it fails
// From then on every read of that file fails with ENOTCONN, the error a
// removed card's file system gives.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ReadFunction = ssize_t (*)(int, void *, size_t);

std::atomic<long long> bytesRead{0};
std::atomic<bool> failing{false};

bool isTheFile(int fd)
{
    const char *path = std::getenv("POMELARK_READ_FAULT_FILE");
    struct stat target {};
    struct stat opened {};
    return path && ::stat(path, &target) == 0 && ::fstat(fd, &opened) == 0 && target.st_dev == opened.st_dev
           && target.st_ino == opened.st_ino;
}

void waitAtTheGate()
{
    const char *gate = std::getenv("POMELARK_READ_FAULT_GATE");
    if (!gate || !*gate)
        return;
    const std::string reached = std::string(gate) + "/reached";
    const std::string pulled = std::string(gate) + "/pulled";
    ::close(::open(reached.c_str(), O_WRONLY | O_CREAT, 0644));
    const timespec pause{0, 5 * 1000 * 1000};
    while (::access(pulled.c_str(), F_OK) != 0)
        ::nanosleep(&pause, nullptr);
}

} // namespace

extern "C" ssize_t read(int fd, void *buffer, size_t size)
{
    static const auto realRead = reinterpret_cast<ReadFunction>(::dlsym(RTLD_NEXT, "read"));
    if (size == 0 || !isTheFile(fd))
        return realRead(fd, buffer, size);
    const char *after = std::getenv("POMELARK_READ_FAULT_AFTER");
    const long long allowed = after ? std::atoll(after) : 0;
    if (!failing && bytesRead >= allowed) {
        waitAtTheGate();
        failing = true;
    }
    if (failing) {
        errno = ENOTCONN;
        return -1;
    }
    const ssize_t n = realRead(fd, buffer, std::min<long long>(size, allowed - bytesRead));
    if (n > 0)
        bytesRead += n;
    return n;
}
