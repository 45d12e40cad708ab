// quantix96-launchtimer [--maps N] [--timeout SECONDS] PROGRAM [ARGUMENT...]
//
// Starts PROGRAM and prints how long it took, in milliseconds from just
// before the fork:
//   without --maps: "exit MS" once the program has ended (with status 0);
//   with --maps N:  "map MS WIDTHxHEIGHT TITLE" for each of the first N
//                   top-level windows the program maps on $DISPLAY, then the
//                   program is ended with SIGTERM.
// Standard input and output of the program are /dev/null, its standard error
// is ours. Exit status 1 when the program fails, dies or times out first.
//
// The display must not run a window manager: the program's windows are then
// children of the root window, and the root's SubstructureNotify reports
// their maps as the server makes them, before a single pixel is painted.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

[[noreturn]] void usage()
{
    std::fputs("usage: quantix96-launchtimer [--maps N] [--timeout SECONDS] PROGRAM [ARGUMENT...]\n", stderr);
    std::exit(2);
}

int wholeNumber(const char *text)
{
    int value = 0;
    const std::string_view view(text);
    const auto result = std::from_chars(view.data(), view.data() + view.size(), value);
    if (result.ec != std::errc() || result.ptr != view.data() + view.size() || value <= 0)
        usage();
    return value;
}

// The child's side of the fork: only async-signal-safe calls until exec.
[[noreturn]] void execute(char **argv)
{
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
    }
    ::execvp(argv[0], argv);
    const char message[] = "quantix96-launchtimer: cannot start the program\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(127);
}

// A window that lies about its owner would be skipped; one that says nothing
// is taken, as a display of our own has no other clients.
bool ownedBy(Display *display, Window window, pid_t pid)
{
    static const Atom wmPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    bool owned = true;
    if (XGetWindowProperty(display, window, wmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success
        && data && format == 32 && count == 1)
        owned = static_cast<pid_t>(*reinterpret_cast<unsigned long *>(data)) == pid;
    if (data)
        XFree(data);
    return owned;
}

std::string title(Display *display, Window window)
{
    static const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success
        && data && format == 8)
        text.assign(reinterpret_cast<const char *>(data), count);
    if (data)
        XFree(data);
    if (text.empty()) {
        char *name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            text = name;
            XFree(name);
        }
    }
    return text;
}

// Ends the program and collects it; a window program is stopped as soon as
// it has been seen, so that runs do not pile up on two shared cores.
void stop(pid_t pid)
{
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        ::usleep(10000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

int timeExit(char **argv, double timeoutMs)
{
    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("quantix96-launchtimer: fork");
        return 1;
    }
    if (pid == 0)
        execute(argv);
    // A hanging program must not hang the bench: the alarm interrupts the wait.
    struct sigaction onAlarm{};
    onAlarm.sa_handler = [](int) {};
    ::sigaction(SIGALRM, &onAlarm, nullptr);
    ::alarm(static_cast<unsigned>(timeoutMs / 1000) + 1);
    int status = 0;
    pid_t done;
    while ((done = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR && millisecondsSince(start) <= timeoutMs) {
    }
    const double elapsed = millisecondsSince(start);
    ::alarm(0);
    if (done != pid) {
        std::fputs("quantix96-launchtimer: the program did not end in time\n", stderr);
        stop(pid);
        return 1;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "quantix96-launchtimer: the program failed (status %d)\n", status);
        return 1;
    }
    std::printf("exit %.2f\n", elapsed);
    return 0;
}

int timeMaps(char **argv, int maps, double timeoutMs)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("quantix96-launchtimer: cannot open the display\n", stderr);
        return 1;
    }
    // A window may be gone by the time we ask for its size or title (the
    // splash is short-lived); Xlib's default handler would end the timer.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    // The selection must be in force before the program can map anything.
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("quantix96-launchtimer: fork");
        return 1;
    }
    if (pid == 0) {
        ::close(ConnectionNumber(display));
        execute(argv);
    }

    const int fd = ConnectionNumber(display);
    int seen = 0;
    while (seen < maps) {
        while (seen < maps && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            // Taken before any round trip to the server below.
            const double elapsed = millisecondsSince(start);
            if (event.type != MapNotify || event.xmap.event != root || event.xmap.override_redirect)
                continue;
            const Window window = event.xmap.window;
            if (!ownedBy(display, window, pid))
                continue;
            XWindowAttributes attributes{};
            XGetWindowAttributes(display, window, &attributes);
            std::printf("map %.2f %dx%d %s\n", elapsed, attributes.width, attributes.height, title(display, window).c_str());
            ++seen;
        }
        if (seen == maps)
            break;
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "quantix96-launchtimer: the program ended after %d of %d maps\n", seen, maps);
            return 1;
        }
        if (millisecondsSince(start) > timeoutMs) {
            std::fprintf(stderr, "quantix96-launchtimer: %d of %d maps in time\n", seen, maps);
            stop(pid);
            return 1;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval wait{0, 20000};
        ::select(fd + 1, &readable, nullptr, nullptr, &wait);
    }
    std::fflush(stdout);
    stop(pid);
    XCloseDisplay(display);
    return 0;
}

}

int main(int argc, char **argv)
{
    int maps = 0;
    double timeoutMs = 30000;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        const std::string_view option(argv[i]);
        if (option == "--")
            break;
        if (i + 1 >= argc)
            usage();
        if (option == "--maps")
            maps = wholeNumber(argv[++i]);
        else if (option == "--timeout")
            timeoutMs = 1000.0 * wholeNumber(argv[++i]);
        else
            usage();
    }
    if (i < argc && std::string_view(argv[i]) == "--")
        ++i;
    if (i >= argc)
        usage();
    return maps > 0 ? timeMaps(argv + i, maps, timeoutMs) : timeExit(argv + i, timeoutMs);
}
