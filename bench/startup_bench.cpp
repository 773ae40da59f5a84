// Start-up cost: the program (startup_probe) and a minimal Qt window
// (minimal_window), each started as its own process on the headless platform
// with a 1920 x 1080 screen until its first idle pass: ten runs each, the
// median time from the start to that pass and the peak resident size. One run
// of each before timing fills the data folder and the caches, as a second
// start on a desktop finds them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Scratch {
    fs::path root;
    Scratch() {
        root = fs::temp_directory_path() / ("dravelin-startup-bench-" + std::to_string(::getpid()));
        for (const char* d : {"home", "data", "config", "cache", "runtime"}) fs::create_directories(root / d);
        fs::permissions(root / "runtime", fs::perms::owner_all);
        std::ofstream(root / "screen.json")
            << R"({"screens":[{"name":"bench","x":0,"y":0,"width":1920,"height":1080}]})";
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

const Scratch& scratch() {
    static const Scratch s;
    return s;
}

struct Run {
    double seconds = 0;
    double peak_mib = 0;
    bool ok = false;
};

// Starts `program` beside this executable and waits for its byte and its end.
Run run_once(const char* program) {
    const fs::path exe = fs::read_symlink("/proc/self/exe").parent_path() / program;
    const Scratch& s = scratch();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], 3);
        const std::string platform = "offscreen:configfile=" + (s.root / "screen.json").string();
        ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
        ::setenv("DRAV_BENCH_READY_FD", "3", 1);
        ::setenv("HOME", (s.root / "home").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (s.root / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (s.root / "config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (s.root / "cache").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (s.root / "runtime").c_str(), 1);
        ::unsetenv("DRAVELIN_SCREEN");
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl(exe.c_str(), program, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    char byte = 0;
    const bool ready = ::read(fds[0], &byte, 1) == 1;
    const auto idle = std::chrono::steady_clock::now();
    ::close(fds[0]);
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) return {};
    Run r;
    r.seconds = std::chrono::duration<double>(idle - start).count();
    r.peak_mib = usage.ru_maxrss / 1024.0;
    r.ok = ready && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The two start alternately, so a machine busy with other work slows both
// alike. Counters: the median time of each in ms, their ratio, and the
// highest peak resident size of each in MiB.
void start_up(benchmark::State& state) {
    constexpr int runs = 10;
    const char* programs[] = {"startup_probe", "minimal_window"};
    for (const char* p : programs)
        if (!run_once(p).ok) {
            state.SkipWithError("a program did not reach its first idle pass");
            return;
        }
    std::vector<double> seconds[2];
    double peak[2] = {0, 0};
    for (auto _ : state) {
        for (int i = 0; i < runs; ++i)
            for (int k = 0; k < 2; ++k) {
                const Run r = run_once(programs[k]);
                if (!r.ok) {
                    state.SkipWithError("a program did not reach its first idle pass");
                    return;
                }
                seconds[k].push_back(r.seconds);
                peak[k] = std::max(peak[k], r.peak_mib);
            }
        state.SetIterationTime(median(seconds[0]));
    }
    const double program_ms = median(seconds[0]) * 1e3, window_ms = median(seconds[1]) * 1e3;
    state.counters["dravelin_ms"] = program_ms;
    state.counters["minimal_ms"] = window_ms;
    state.counters["time_ratio"] = program_ms / window_ms;
    state.counters["dravelin_MiB"] = peak[0];
    state.counters["minimal_MiB"] = peak[1];
}

BENCHMARK(start_up)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
