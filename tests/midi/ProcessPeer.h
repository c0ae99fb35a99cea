#pragma once
// Starting and stopping the real programs that tests and benchmarks talk to (jackd, jack_midi_dump).

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace peer {

using Clock = std::chrono::steady_clock;

inline bool onPath(const std::string& program)
{
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    std::string dir;
    while (std::getline(path, dir, ':')) {
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

// Starts `args` with stdout and stderr going to `log`; 0 when it cannot be started.
inline pid_t spawn(const std::vector<std::string>& args, const std::filesystem::path& log)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

inline void stop(pid_t& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

// Polls `condition` every few milliseconds; false if it still does not hold after a minute, which only
// a broken peer explains (the test then fails instead of hanging).
inline bool waitFor(const std::function<bool()>& condition)
{
    const auto giveUp = Clock::now() + std::chrono::seconds(60);
    while (!condition()) {
        if (Clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The bytes of each event jack_midi_dump printed ("   0: 90 31 7f note on ..." gives "90 31 7f").
inline std::vector<std::string> dumpedEvents(const std::string& dump)
{
    std::vector<std::string> events;
    std::istringstream lines(dump);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::istringstream words(line.substr(colon + 1));
        std::string word, bytes;
        while (words >> word && word.size() == 2 && std::all_of(word.begin(), word.end(), ::isxdigit))
            bytes += (bytes.empty() ? "" : " ") + word;
        if (!bytes.empty())
            events.push_back(bytes);
    }
    return events;
}

} // namespace peer
