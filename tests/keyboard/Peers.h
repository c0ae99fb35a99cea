#pragma once
// Real programs the keyboard's tests talk to: started, watched and stopped by the test itself.

#include "tests/midi/ProcessPeer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace keyboard_testing {

using peer::onPath;

// A child process with stdout and stderr going to a log file; stopped (SIGTERM) when it goes.
class Peer {
public:
    Peer() = default;
    Peer(const std::vector<std::string>& args, std::filesystem::path log)
        : m_pid(peer::spawn(args, log)), m_log(std::move(log))
    {
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
    void stop() { peer::stop(m_pid); }
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

using peer::dumpedEvents;

} // namespace keyboard_testing
