#include "demo_run.h"

#include "common/files.h"
#include "common/program_run.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void run_child(const std::string& program, const std::string& folder,
                            const std::string& error_file)
{
    const int input = open("/dev/null", O_RDONLY);
    const int output = open("/dev/null", O_WRONLY);
    const int errors = open(error_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (input < 0 || output < 0 || errors < 0 || chdir(folder.c_str()) != 0)
        _exit(127);
    dup2(input, 0);
    dup2(output, 1);
    dup2(errors, 2);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The demo keeps everything it loaded until it exits, by design; a leak report at
    // exit would only hide the one line that matters.
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

}   // namespace

DemoRun run_demo(const std::string& program, const std::string& folder, int seconds)
{
    const std::string error_file = folder + "/stderr.txt";
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        std::abort();
    }
    if (child == 0)
        run_child(program, folder, error_file);

    DemoRun run{};
    int status = 0;
    // Polled every 20 ms, so that a quick refusal costs no more than that.
    for (int waited = 0; waited < seconds * 50; ++waited) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            run.signalled = WIFSIGNALED(status);
            run.signal_number = run.signalled ? WTERMSIG(status) : 0;
            run.exit_status = exit_status(status);
            run.errors = read_text(error_file);
            return run;
        }
        usleep(20000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    run.still_running = true;
    run.errors = read_text(error_file);
    return run;
}
