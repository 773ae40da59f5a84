// The program started as a person starts it, from a terminal whose display
// is missing or does not answer: one line that says so, status 1, no abort.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Ended {
    int status = -1;  // the exit status, or -1 when a signal ended it
    std::string output;
};

// Runs the program with only the variables given (and the test's folders).
Ended run_program_with(const std::vector<std::string>& variables) {
    std::vector<std::string> env = variables;
    for (const char* keep : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "PATH"})
        if (const char* v = std::getenv(keep)) env.push_back(std::string(keep) + "=" + v);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = DRAV_PROGRAM_PATH;
    char* argv[] = {program.data(), nullptr};
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(out[1], 2);
        ::execve(program.c_str(), argv, envp.data());
        ::_exit(127);
    }
    ::close(out[1]);
    Ended e;
    char buf[512];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) e.output.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) e.status = WEXITSTATUS(status);
    return e;
}

// A local display number that no server listens on.
std::string silent_display() {
    int n = 4719;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n))) ++n;
    return ":" + std::to_string(n);
}

}  // namespace

TEST(NoDisplay, StartingWithoutADisplayThatAnswersSaysSoInOneLineWithStatusOne) {
    const std::string display = silent_display();
    const struct {
        std::vector<std::string> variables;
        std::string line;
    } cases[] = {
        {{}, "Dravelin needs a desktop: no display was found (DISPLAY or WAYLAND_DISPLAY is not set).\n"},
        {{"DISPLAY=" + display}, "Dravelin needs a desktop: no display answers (DISPLAY=" + display + ").\n"},
        {{"QT_QPA_PLATFORM=xcb", "DISPLAY=" + display},
         "Dravelin needs a desktop: no display answers (QT_QPA_PLATFORM=xcb, DISPLAY=" + display + ").\n"},
    };
    for (const auto& c : cases) {
        const Ended e = run_program_with(c.variables);
        const std::string what = c.variables.empty() ? "nothing set" : c.variables.back();
        EXPECT_EQ(e.status, 1) << what;
        EXPECT_EQ(e.output, c.line) << what;
    }
}
