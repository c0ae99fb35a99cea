#pragma once
// Real programs the keyboard's tests talk to: started, watched and stopped by the test itself.

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace keyboard_testing {

inline bool onPath(const std::string& program)
{
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    std::string dir;
    while (std::getline(path, dir, ':'))
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

// A child process with stdout and stderr going to a log file; stopped (SIGTERM) when it goes.
class Peer {
public:
    Peer() = default;
    Peer(const std::vector<std::string>& args, std::filesystem::path log) : m_log(std::move(log))
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    Peer(Peer&& other) noexcept { *this = std::move(other); }
    Peer& operator=(Peer&& other) noexcept
    {
        stop();
        m_pid = std::exchange(other.m_pid, 0);
        m_log = std::move(other.m_log);
        return *this;
    }
    ~Peer() { stop(); }

    bool running() const { return m_pid > 0; }
    void stop()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = 0;
    }
    std::string output() const
    {
        std::ifstream in(m_log);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    pid_t m_pid = 0;
    std::filesystem::path m_log;
};

// What a short-lived command prints on stdout (run through the shell).
inline std::string commandOutput(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
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

} // namespace keyboard_testing
