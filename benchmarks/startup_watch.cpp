// SPDX-License-Identifier: GPL-3.0-or-later
// Times programs from their start to their first window being mapped, and to
// its first paint, as seen by one X connection that listens on the root
// window (MapNotify, and DamageNotify of each new top-level window), and takes
// each program's peak memory. The programs run in turn, interleaved, so that
// whatever else the machine does falls on them alike.
//
//   startup_watch RUNS PROGRAM FLOOR
//
// Runs each program once unmeasured (caches), then RUNS times each; prints
// every run, the medians, their ratios and the difference of the peak
// memories, each against its budget. Exits 1 when a budget is missed.
//
//   startup_watch --once COMMAND [ARGUMENTS...]
//
// Starts one command, waits for its window and ends it as soon as it is
// mapped: for a profiler such as valgrind, which runs the program in its own
// process, to count what the program did until then.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// Generous: a program under valgrind starts some fifty times slower.
constexpr int kTimeoutMs = 180000;
// Time left to a program after its first paint before its peak memory is read.
constexpr int kSettleMs = 300;

// The program may take 15 % longer than the floor to map its window, and
// 4 MiB more memory at its peak.
constexpr double kRatioBudget = 1.15;
constexpr long kMemoryBudgetKib = 4096;

struct Sample {
    double mappedMs = 0;
    double paintedMs = 0;
    double cpuAtMapMs = 0; // time all its threads ran until the window was mapped
    long maxRssKib = 0;
};

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// CPU time of all threads of a process so far, from the scheduler's
// nanosecond counters: unlike the wall clock, hardly moved by what else runs.
double cpuMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double total = 0;
    if (DIR *dir = opendir(tasks.c_str())) {
        while (const dirent *entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            if (FILE *file = std::fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r")) {
                unsigned long long ns = 0;
                if (std::fscanf(file, "%llu", &ns) == 1)
                    total += static_cast<double>(ns) / 1e6;
                std::fclose(file);
            }
        }
        closedir(dir);
    }
    return total;
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
        const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection_, &xcb_damage_id);
        if (damage == nullptr || !damage->present)
            fail("the X server has no DAMAGE extension");
        damageNotify_ = static_cast<uint8_t>(damage->first_event + XCB_DAMAGE_NOTIFY);
        std::free(xcb_damage_query_version_reply(
            connection_, xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
            nullptr));
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

    Sample run(const std::vector<std::string> &command, bool untilPainted = true) {
        drain();
        std::vector<char *> argv;
        for (const std::string &word : command)
            argv.push_back(const_cast<char *>(word.c_str()));
        argv.push_back(nullptr);
        const std::string &program = command.front();
        const double start = nowMs();
        pid_t pid = 0;
        if (const int error = posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ); error != 0)
            fail("cannot start " + program + ": " + std::strerror(error));
        Sample sample;
        watch(pid, start, untilPainted, sample);
        if (untilPainted)
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
        firstDamage_.clear();
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

    // Times are taken as each event arrives; who owns a window is asked after.
    void watch(pid_t pid, double start, bool untilPainted, Sample &sample) {
        const int fd = xcb_get_file_descriptor(connection_);
        xcb_window_t main = 0;
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
                const double at = nowMs() - start;
                const uint8_t type = event->response_type & 0x7f;
                if (type == XCB_CREATE_NOTIFY) {
                    // Watched from its creation, before anything can be drawn in it.
                    const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
                    if (created->parent == root_ && created->override_redirect == 0) {
                        xcb_damage_create(connection_, xcb_generate_id(connection_), created->window,
                                          XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                        xcb_flush(connection_);
                    }
                } else if (type == damageNotify_) {
                    const auto *damaged = reinterpret_cast<xcb_damage_notify_event_t *>(event);
                    firstDamage_.emplace(damaged->drawable, at);
                } else if (type == XCB_MAP_NOTIFY && main == 0) {
                    const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                    if (map->override_redirect == 0 && ownerOf(map->window) == pid) {
                        main = map->window;
                        sample.mappedMs = at;
                        sample.cpuAtMapMs = cpuMs(pid);
                    }
                }
                std::free(event);
                if (main != 0 && !untilPainted)
                    return;
                if (main != 0 && firstDamage_.count(main) != 0) {
                    sample.paintedMs = firstDamage_[main];
                    return;
                }
            }
            if (xcb_connection_has_error(connection_))
                fail("the X connection broke");
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                fail("a program ended before it showed its window");
            pollfd wait{fd, POLLIN, 0};
            const int left = kTimeoutMs - static_cast<int>(nowMs() - start);
            if (left <= 0)
                fail("no window within " + std::to_string(kTimeoutMs / 1000) + " s");
            poll(&wait, 1, std::min(left, 100));
        }
    }

    xcb_connection_t *connection_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_atom_t pidAtom_ = 0;
    uint8_t damageNotify_ = 0;
    std::map<xcb_window_t, double> firstDamage_;
};

template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Summary {
    double mapped = 0;
    double painted = 0;
    double cpu = 0;
    long kib = 0;
};

Summary summarize(const char *name, const std::vector<Sample> &samples) {
    std::vector<double> mapped, painted, cpu;
    std::vector<long> memory;
    for (const Sample &s : samples) {
        mapped.push_back(s.mappedMs);
        painted.push_back(s.paintedMs);
        cpu.push_back(s.cpuAtMapMs);
        memory.push_back(s.maxRssKib);
    }
    const Summary summary{median(mapped), median(painted), median(cpu), median(memory)};
    const auto [low, high] = std::minmax_element(mapped.begin(), mapped.end());
    std::printf("%-8s mapped: median %.1f ms (min %.1f, max %.1f); painted: median %.1f ms; CPU until mapped: "
                "median %.1f ms; peak memory: median %ld KiB (max %ld)\n",
                name, summary.mapped, *low, *high, summary.painted, summary.cpu, summary.kib,
                *std::max_element(memory.begin(), memory.end()));
    return summary;
}

} // namespace

int main(int argc, char **argv) {
    if (argc >= 3 && std::string(argv[1]) == "--once") {
        Watcher watcher;
        const Sample sample = watcher.run(std::vector<std::string>(argv + 2, argv + argc), false);
        std::printf("window mapped after %.1f ms\n", sample.mappedMs);
        return 0;
    }
    if (argc != 4)
        fail("usage: startup_watch RUNS PROGRAM FLOOR | startup_watch --once COMMAND [ARGUMENTS...]");
    const int runs = std::atoi(argv[1]);
    if (runs < 1)
        fail("RUNS must be at least 1");
    const std::vector<std::string> programs[2] = {{argv[2]}, {argv[3]}};
    Watcher watcher;
    for (const std::vector<std::string> &program : programs)
        watcher.run(program);

    std::vector<Sample> samples[2];
    std::printf("%4s %22s %22s %22s %20s\n", "", "mapped ms", "painted ms", "CPU until mapped ms", "peak memory KiB");
    std::printf("%4s %11s %10s %11s %10s %11s %10s %10s %9s\n", "run", "program", "floor", "program", "floor",
                "program", "floor", "program", "floor");
    for (int i = 0; i < runs; ++i) {
        // Alternating which goes first, so neither always follows the other.
        const int first = i % 2;
        samples[first].push_back(watcher.run(programs[first]));
        samples[1 - first].push_back(watcher.run(programs[1 - first]));
        const Sample &p = samples[0].back(), &f = samples[1].back();
        std::printf("%4d %11.1f %10.1f %11.1f %10.1f %11.1f %10.1f %10ld %9ld\n", i + 1, p.mappedMs, f.mappedMs,
                    p.paintedMs, f.paintedMs, p.cpuAtMapMs, f.cpuAtMapMs, p.maxRssKib, f.maxRssKib);
        std::fflush(stdout);
    }
    const Summary program = summarize("program", samples[0]);
    const Summary floor = summarize("floor", samples[1]);
    const double ratio = program.mapped / floor.mapped;
    const long extra = program.kib - floor.kib;
    const bool fast = ratio <= kRatioBudget, small = extra <= kMemoryBudgetKib;
    std::printf("painted: ratio of medians %.3f; CPU until mapped: ratio of medians %.3f\n",
                program.painted / floor.painted, program.cpu / floor.cpu);
    std::printf("budget start-up (mapped): ratio of medians %.3f, at most %.2f: %s\n", ratio, kRatioBudget,
                fast ? "met" : "MISSED");
    std::printf("budget peak memory: %+ld KiB over the floor, at most %+ld: %s\n", extra, kMemoryBudgetKib,
                small ? "met" : "MISSED");
    return fast && small ? 0 : 1;
}
