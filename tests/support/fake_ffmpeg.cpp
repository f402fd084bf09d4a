// A stand-in for the ffmpeg program in runner and poster tests. What it does is
// chosen by FAKE_FFMPEG_MODE:
//   log      (default) write $FAKE_FFMPEG_LOG to standard error, copy
//            $FAKE_FFMPEG_POSTER (when set) to the last argument, exit with
//            $FAKE_FFMPEG_EXIT (default 0)
//   invalid  write a log holding bytes that are not UTF-8, then as "log"
//   large    write $FAKE_FFMPEG_LOG_BYTES (default 4 MiB) of log, then exit 0
//   crash    end by the signal numbered $FAKE_FFMPEG_SIGNAL (default: a
//            segmentation fault); SIGTERM and SIGINT are caught and end it
//            with 255 and no log, as ffmpeg at level "error" does
//   hang     wait until killed
//   gate     note the start in $FAKE_FFMPEG_GATE_DIR, wait for the release file
//            named after the input, then as "log"
//   swap     put a named pipe, a folder or a socket ($FAKE_FFMPEG_SWAP_WITH:
//            pipe, folder, socket) in the place of the file $FAKE_FFMPEG_SWAP,
//            then open and read the input as ffmpeg does, blocking, and copy it
//            to the last argument; a failed open or read ends it with 1 and
//            the input's name and the system's reason
// An input given as an open descriptor of its parent's is named, in the gate's
// files, after the file that descriptor holds.
// When $FAKE_FFMPEG_ARGS_FILE is set, the arguments are appended to it, each
// followed by a NUL byte, and the run by a newline.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string env(const char *name, const char *fallback = "")
{
    const char *value = std::getenv(name);
    return value ? value : fallback;
}

void writeAll(int fd, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

void appendLine(const fs::path &file, const std::string &line)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    writeAll(fd, line);
    ::close(fd);
}

int finishAsLog(const std::vector<std::string> &args, const std::string &prefix = {})
{
    writeAll(2, prefix + env("FAKE_FFMPEG_LOG"));
    const std::string poster = env("FAKE_FFMPEG_POSTER");
    if (!poster.empty() && !args.empty())
        fs::copy_file(poster, args.back(), fs::copy_options::overwrite_existing);
    return std::atoi(env("FAKE_FFMPEG_EXIT", "0").c_str());
}

std::string inputOf(const std::vector<std::string> &args)
{
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "-i")
            return args[i + 1];
    }
    return {};
}

/// The input's file name; through a descriptor's link, the name of the file it holds.
std::string inputName(const std::vector<std::string> &args)
{
    const fs::path input = inputOf(args);
    std::error_code error;
    const fs::path held = input.string().starts_with("/proc/self/fd/") ? fs::read_symlink(input, error) : input;
    return (error ? input : held).filename();
}

void putInPlace(const fs::path &path, const std::string &kind)
{
    fs::remove(path);
    if (kind == "pipe") {
        ::mkfifo(path.c_str(), 0644);
    } else if (kind == "folder") {
        fs::create_directory(path);
    } else if (kind == "socket") {
        const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        ::bind(listening, reinterpret_cast<const sockaddr *>(&address), sizeof(address));
    }
}

int swapThenRead(const std::vector<std::string> &args)
{
    putInPlace(env("FAKE_FFMPEG_SWAP"), env("FAKE_FFMPEG_SWAP_WITH"));
    const std::string input = inputOf(args);
    std::ifstream in(input, std::ios::binary);
    std::ofstream out(args.back(), std::ios::binary);
    if (!(in && out << in.rdbuf())) {
        writeAll(2, input + ": " + std::strerror(errno) + "\n");
        return 1;
    }
    writeAll(2, env("FAKE_FFMPEG_LOG"));
    return 0;
}

int gate(const std::vector<std::string> &args)
{
    const fs::path dir = env("FAKE_FFMPEG_GATE_DIR");
    const std::string name = inputName(args);
    const fs::path running = dir / "running";
    fs::create_directories(running);
    fs::create_directories(dir / "release");
    // Note ourselves first, then count: of runs that overlap, the last to start
    // sees every other one.
    const fs::path mark = running / std::to_string(::getpid());
    appendLine(mark, name);
    const auto count = std::distance(fs::directory_iterator(running), fs::directory_iterator());
    appendLine(dir / "started", name + " " + std::to_string(count) + "\n");
    while (!fs::exists(dir / "release" / name))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const int status = finishAsLog(args);
    fs::remove(mark);
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::string argsFile = env("FAKE_FFMPEG_ARGS_FILE");
    if (!argsFile.empty()) {
        std::string line;
        for (const std::string &arg : args)
            line += arg + '\0';
        appendLine(argsFile, line + '\n');
    }

    const std::string mode = env("FAKE_FFMPEG_MODE", "log");
    if (mode == "invalid")
        return finishAsLog(args, "  title : caf\xc3 \xff\xfe\n");
    if (mode == "large") {
        const size_t bytes = size_t(std::atoll(env("FAKE_FFMPEG_LOG_BYTES", "4194304").c_str()));
        std::string line(99, 'x');
        line += '\n';
        std::string chunk;
        while (chunk.size() + line.size() <= bytes)
            chunk += line;
        writeAll(2, chunk);
        return 0;
    }
    if (mode == "crash") {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        const int signal = std::atoi(env("FAKE_FFMPEG_SIGNAL", std::to_string(SIGSEGV).c_str()).c_str());
        const bool caught = signal == SIGTERM || signal == SIGINT;
        std::signal(signal, caught ? [](int) {} : SIG_DFL);
        std::raise(signal);
        return caught ? 255 : 99;
    }
    if (mode == "hang") {
        for (;;)
            ::pause();
    }
    if (mode == "gate")
        return gate(args);
    if (mode == "swap")
        return swapThenRead(args);
    return finishAsLog(args);
}
