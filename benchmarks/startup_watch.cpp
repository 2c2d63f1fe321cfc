// Times programs from their start to their first window being mapped, as seen
// by one X connection that listens for MapNotify on the root window, and takes
// each program's peak memory. The programs run in turn, interleaved, so that
// whatever else the machine does falls on them alike.
//
//   startup_watch RUNS PROGRAM FLOOR
//
// Runs each program once unmeasured (caches), then RUNS times each; prints
// every run, the medians, their ratio and the difference of the peak memories,
// each against its budget. Exits 1 when a budget is missed.
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kTimeoutMs = 30000;
// Time left to a program after its window is mapped to paint it, before its
// peak memory is read.
constexpr int kSettleMs = 500;

// The program may take 15 % longer than the floor to show its window, and
// 4 MiB more memory at its peak.
constexpr double kRatioBudget = 1.15;
constexpr long kMemoryBudgetKib = 4096;

struct Sample {
    double ms = 0;
    long maxRssKib = 0;
};

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

[[noreturn]] void fail(const std::string &message) {
    std::fprintf(stderr, "startup_watch: %s\n", message.c_str());
    std::exit(2);
}

class Watcher {
public:
    Watcher() {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_))
            fail("cannot connect to the X server (DISPLAY)");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        const char name[] = "_NET_WM_PID";
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, sizeof name - 1, name), nullptr);
        if (atom == nullptr)
            fail("cannot intern _NET_WM_PID");
        pidAtom_ = atom->atom;
        std::free(atom);
        xcb_flush(connection_);
    }
    ~Watcher() { xcb_disconnect(connection_); }

    Sample run(const std::string &program) {
        drain();
        const double start = nowMs();
        pid_t pid = 0;
        char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
        if (const int error = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ); error != 0)
            fail("cannot start " + program + ": " + std::strerror(error));
        Sample sample;
        sample.ms = waitForMap(pid, start) - start;
        usleep(kSettleMs * 1000);
        kill(pid, SIGTERM);
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) != pid)
            fail("lost " + program);
        sample.maxRssKib = usage.ru_maxrss;
        return sample;
    }

private:
    // Throws away what earlier runs left, such as their windows' unmapping.
    void drain() {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection_))
            std::free(event);
    }

    pid_t ownerOf(xcb_window_t window) {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, pidAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        pid_t pid = 0;
        if (reply != nullptr && xcb_get_property_value_length(reply) == 4)
            pid = static_cast<pid_t>(*static_cast<uint32_t *>(xcb_get_property_value(reply)));
        std::free(reply);
        return pid;
    }

    // The moment the event arrived; the owner is checked after the time is taken.
    double waitForMap(pid_t pid, double start) {
        const int fd = xcb_get_file_descriptor(connection_);
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
                const double at = nowMs();
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                xcb_window_t window = 0;
                bool ordinary = false;
                if (mapped) {
                    const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                    window = map->window;
                    ordinary = map->override_redirect == 0;
                }
                std::free(event);
                if (mapped && ordinary && ownerOf(window) == pid)
                    return at;
            }
            if (xcb_connection_has_error(connection_))
                fail("the X connection broke");
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                fail("a program ended before it showed its window");
            pollfd wait{fd, POLLIN, 0};
            const int left = kTimeoutMs - static_cast<int>(nowMs() - start);
            if (left <= 0)
                fail("no window within 30 s");
            poll(&wait, 1, std::min(left, 100));
        }
    }

    xcb_connection_t *connection_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_atom_t pidAtom_ = 0;
};

template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4)
        fail("usage: startup_watch RUNS PROGRAM FLOOR");
    const int runs = std::atoi(argv[1]);
    if (runs < 1)
        fail("RUNS must be at least 1");
    const std::string programs[2] = {argv[2], argv[3]};
    Watcher watcher;
    for (const std::string &program : programs)
        watcher.run(program);

    std::vector<Sample> samples[2];
    std::printf("%4s %12s %12s %14s %14s\n", "run", "program ms", "floor ms", "program KiB", "floor KiB");
    for (int i = 0; i < runs; ++i) {
        // Alternating which goes first, so neither always follows the other.
        const int first = i % 2;
        samples[first].push_back(watcher.run(programs[first]));
        samples[1 - first].push_back(watcher.run(programs[1 - first]));
        std::printf("%4d %12.1f %12.1f %14ld %14ld\n", i + 1, samples[0].back().ms, samples[1].back().ms,
                    samples[0].back().maxRssKib, samples[1].back().maxRssKib);
        std::fflush(stdout);
    }
    double ms[2];
    long kib[2];
    for (int p = 0; p < 2; ++p) {
        std::vector<double> times;
        std::vector<long> memory;
        for (const Sample &s : samples[p]) {
            times.push_back(s.ms);
            memory.push_back(s.maxRssKib);
        }
        ms[p] = median(times);
        kib[p] = median(memory);
        const auto [low, high] = std::minmax_element(times.begin(), times.end());
        std::printf("%-8s median %.1f ms (min %.1f, max %.1f), peak memory median %ld KiB (max %ld)\n",
                    p == 0 ? "program" : "floor", ms[p], *low, *high, kib[p],
                    *std::max_element(memory.begin(), memory.end()));
    }
    const double ratio = ms[0] / ms[1];
    const long extra = kib[0] - kib[1];
    const bool fast = ratio <= kRatioBudget, small = extra <= kMemoryBudgetKib;
    std::printf("budget start-up: ratio of medians %.3f, at most %.2f: %s\n", ratio, kRatioBudget,
                fast ? "met" : "MISSED");
    std::printf("budget peak memory: %+ld KiB over the floor, at most %+ld: %s\n", extra, kMemoryBudgetKib,
                small ? "met" : "MISSED");
    return fast && small ? 0 : 1;
}
