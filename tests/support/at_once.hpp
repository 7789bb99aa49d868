// Several processes doing the same thing at the same moment, as games started side by side do:
// each child is forked, waits until all are ready, runs `work` (its index given) and ends with
// its answer (0: done). The parent collects the statuses, true when every child succeeded.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

inline bool AtOnce(int processes, const std::function<int(int index)>& work) {
    int start[2];
    if (::pipe(start) != 0) return false;
    std::vector<pid_t> children;
    for (int i = 0; i < processes; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(start[1]);
            char go = 0;
            const bool ready = ::read(start[0], &go, 1) == 1;
            ::_exit(ready ? work(i) : 2);
        }
        if (pid > 0) children.push_back(pid);
    }
    ::close(start[0]);
    const std::vector<char> go(size_t(processes), 'g');  // one byte each: all start together
    const bool started = ::write(start[1], go.data(), go.size()) == ssize_t(go.size());
    ::close(start[1]);
    bool ok = started && int(children.size()) == processes;
    for (const pid_t pid : children) {
        int status = 0;
        ok = ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
    }
    return ok;
}
