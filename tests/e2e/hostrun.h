// End-to-end support: running the kaldo host on an input file in a scratch folder, to completion or in
// the background, so that a test can act on the run while it goes on.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/workdir.h"

namespace kaldo::test {

struct HostOutcome {
    int exit;         // the host's exit status, -1 when it did not exit normally
    std::string out;  // what it wrote to stdout and stderr
};

// Runs `kaldo args` in the folder and waits for it; env holds settings NAME=VALUE of the run's
// environment (empty for none).
inline HostOutcome runHostIn(const WorkDir& dir, const std::string& args, const std::string& env = "") {
    std::string cmd = std::string("cd '") + dir.path().string() + "' && " + env + (env.empty() ? "" : " ") + "'" +
                      KALDO_HOST_PATH + "' " + args + " > host.txt 2>&1";
    int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, dir.read("host.txt")};
}

// `kaldo input` started in the folder without waiting; its output goes to host-bg.txt there (not to
// host.txt, which a run of runHostIn beside it writes). The run is
// killed if the test leaves before it has ended.
class BackgroundHost {
public:
    BackgroundHost(const WorkDir& dir, const std::string& input) : dir_(dir) {
        const std::string folder = dir.path().string();
        const std::string log = (dir / "host-bg.txt").string();
        pid_ = fork();
        if (pid_ == 0) {
            // Only calls that are safe between fork and exec.
            int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || chdir(folder.c_str()) != 0) _exit(127);
            dup2(fd, 1);
            dup2(fd, 2);
            execl(KALDO_HOST_PATH, "kaldo", input.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~BackgroundHost() {
        if (pid_ > 0 && !ended_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    BackgroundHost(const BackgroundHost&) = delete;

    bool started() const { return pid_ > 0; }
    bool running() {
        if (ended_) return false;
        int rc = 0;
        if (waitpid(pid_, &rc, WNOHANG) == pid_) finish(rc);
        return !ended_;
    }
    // Waits at most the given time for the host to end; its exit status, or -1 when it did not end
    // (it is then killed) or ended by a signal.
    int wait(std::chrono::seconds limit) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!ended_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            ended_ = true;
            exit_ = -1;
        }
        return exit_;
    }
    std::string output() const { return dir_.read("host-bg.txt"); }

private:
    void finish(int rc) {
        ended_ = true;
        exit_ = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    const WorkDir& dir_;
    pid_t pid_ = -1;
    bool ended_ = false;
    int exit_ = -1;
};

}  // namespace kaldo::test
