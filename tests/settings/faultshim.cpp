// Preloaded into a process (LD_PRELOAD), makes one step of a file
// replacement fail or kills the process there, as a failing disk or a kill
// would. QUANTIX_FAULT="STEP:WHAT": STEP is write, fdatasync or close (of a
// new file of ours, NAME.quantix96-XXXXXX), rename (of that file over the
// old one) or fsync (of a folder); WHAT is fail (EIO), kill (before the
// step) or half (write half, then kill). Only the first such call is hit.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool armed = true;

bool isOwnNewFile(const char *path)
{
    return path && std::strstr(path, ".quantix96-");
}

bool isOwnNewFile(int fd)
{
    char link[64];
    char path[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t size = readlink(link, path, sizeof path - 1);
    if (size <= 0)
        return false;
    path[size] = '\0';
    return isOwnNewFile(path);
}

bool isFolder(int fd)
{
    struct stat status;
    return fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
}

// What to do at this step: nothing (0), fail, kill or half.
char faultAt(const char *step, bool ours)
{
    const char *fault = std::getenv("QUANTIX_FAULT");
    const std::size_t length = std::strlen(step);
    if (!armed || !ours || !fault || std::strncmp(fault, step, length) != 0 || fault[length] != ':')
        return 0;
    armed = false;
    return fault[length + 1];
}

template<typename Function>
Function real(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

int fail()
{
    errno = EIO;
    return -1;
}

}

extern "C" {

ssize_t write(int fd, const void *data, size_t size)
{
    static const auto next = real<ssize_t (*)(int, const void *, size_t)>("write");
    switch (faultAt("write", isOwnNewFile(fd))) {
    case 'f': return fail();
    case 'k': raise(SIGKILL); break;
    case 'h': next(fd, data, size / 2); raise(SIGKILL); break;
    default: break;
    }
    return next(fd, data, size);
}

int fdatasync(int fd)
{
    static const auto next = real<int (*)(int)>("fdatasync");
    switch (faultAt("fdatasync", isOwnNewFile(fd))) {
    case 'f': return fail();
    case 'k': raise(SIGKILL); break;
    default: break;
    }
    return next(fd);
}

int close(int fd)
{
    static const auto next = real<int (*)(int)>("close");
    switch (faultAt("close", isOwnNewFile(fd))) {
    case 'f': next(fd); return fail();  // closed all the same, as the kernel does
    case 'k': raise(SIGKILL); break;
    default: break;
    }
    return next(fd);
}

int rename(const char *from, const char *to)
{
    static const auto next = real<int (*)(const char *, const char *)>("rename");
    switch (faultAt("rename", isOwnNewFile(from) && !isOwnNewFile(to))) {
    case 'f': return fail();
    case 'k': raise(SIGKILL); break;
    default: break;
    }
    return next(from, to);
}

int fsync(int fd)
{
    static const auto next = real<int (*)(int)>("fsync");
    switch (faultAt("fsync", isFolder(fd))) {
    case 'f': return fail();
    case 'k': raise(SIGKILL); break;
    default: break;
    }
    return next(fd);
}
}
