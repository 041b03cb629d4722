#include "common/program_run.h"

#include "common/files.h"
#include "common/scratch_folder.h"

#include <sys/wait.h>

#include <cstdlib>

int exit_status(int wait_status)
{
    return WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
}

std::string shell_quoted(const std::filesystem::path& path)
{
    // Built by appending: GCC 12 warns of a false overlap in "'" + string at -O3.
    std::string text = "'";
    text += path.string();
    text += '\'';
    return text;
}

ProgramRun run_program(const std::string& command, const std::filesystem::path& folder)
{
    const std::filesystem::path out = program_scratch_folder() / "run-out.txt";
    const std::filesystem::path errors = program_scratch_folder() / "run-errors.txt";
    // The command runs in a subshell so that its own redirections apply inside ours.
    std::string line = "( " + command + " ) </dev/null >'" + out.string() + "' 2>'" + errors.string() + "'";
    if (!folder.empty())
        line = "cd '" + folder.string() + "' && " + line;
    ProgramRun run;
    run.status = exit_status(std::system(line.c_str()));
    run.out = read_text(out);
    run.errors = read_text(errors);
    std::filesystem::remove(out);
    std::filesystem::remove(errors);
    return run;
}
