#include "CliRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempDir.h"

extern char** environ;

CliRun RunCli(const std::vector<std::string>& args, const std::string& workDir)
{
    TempDir capture;
    const std::string outPath = capture / "out", errPath = capture / "err";
    std::vector<std::string> argv = {ORBISTAV_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (!workDir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    pid_t pid = 0;
    CliRun run;
    if (posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), environ) == 0)
    {
        int status = 0;
        waitpid(pid, &status, 0);
        run.nExit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadFileText(outPath);
    run.err = ReadFileText(errPath);
    return run;
}
