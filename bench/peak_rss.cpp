// Runs a command and prints its peak resident memory: orbistav_peak_rss CMD [ARGS...]
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: orbistav_peak_rss CMD [ARGS...]\n");
        return 2;
    }
    const pid_t pid = fork();
    if (pid == 0)
    {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    std::fprintf(stderr, "peak resident memory: %.1f MB (exit %d)\n", usage.ru_maxrss / 1024.0,
                 WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return 0;
}
