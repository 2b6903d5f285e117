#pragma once

// The real program as a child process for the long runs (crash stress, soak): started headless
// on a settings folder and a scenario, watched through /proc, ended by a signal.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

class ProgramProcess {
public:
    /// Starts the program with its stdout and stderr thrown away; pid() is 0 on failure.
    ProgramProcess(const std::string& executable, const std::vector<std::string>& arguments) {
        std::vector<char*> argv;
        std::vector<std::string> all{executable};
        all.insert(all.end(), arguments.begin(), arguments.end());
        for (auto& argument : all) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, executable.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ProgramProcess() {
        if (m_pid > 0) {
            end(SIGKILL);
        }
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    pid_t pid() const { return m_pid; }

    /// Sends the signal and waits for the end; the wait status.
    int end(int signal) {
        if (m_pid <= 0) {
            return -1;
        }
        ::kill(m_pid, signal);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = 0;
        return status;
    }

    /// Resident memory in kB (VmRSS).
    long residentKb() const {
        std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
        std::string key;
        while (status >> key) {
            if (key == "VmRSS:") {
                long kb = 0;
                status >> kb;
                return kb;
            }
        }
        return -1;
    }

    /// Open file descriptors.
    int openDescriptors() const {
        std::error_code error;
        int count = 0;
        for (auto it = std::filesystem::directory_iterator("/proc/" + std::to_string(m_pid) + "/fd",
                                                           error);
             !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
            ++count;
        }
        return count;
    }

    /// User and system CPU time so far, in seconds.
    double cpuSeconds() const {
        std::ifstream stat("/proc/" + std::to_string(m_pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        // Fields after the command name in parentheses; utime and stime are the 14th and 15th.
        std::istringstream rest(line.substr(line.rfind(')') + 2));
        std::string field;
        unsigned long long utime = 0;
        unsigned long long stime = 0;
        for (int i = 3; i <= 15 && rest >> field; ++i) {
            if (i == 14) {
                utime = std::stoull(field);
            } else if (i == 15) {
                stime = std::stoull(field);
            }
        }
        return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    }

private:
    pid_t m_pid = 0;
};

/// A scenario of calls on one MSN, each ringing for a while and then hung up by the caller.
/// The calls take turns through 255 PLCIs, so that a call is never offered on the PLCI of one
/// the program has not finished with.
inline void writeCallStream(const std::filesystem::path& path, int calls, double ringSeconds,
                            double gapSeconds, int firstNumber = 0) {
    std::ofstream out(path);
    for (int i = 0; i < calls; ++i) {
        const int plci = 0x101 + (i % 255) * 0x100;
        out << "call plci=" << plci << " called=1 calling=30" << 1000000 + firstNumber + i << "\n"
            << "wait " << ringSeconds << "\nhangup plci=" << plci << "\nwait " << gapSeconds
            << "\n";
    }
}

} // namespace bench
