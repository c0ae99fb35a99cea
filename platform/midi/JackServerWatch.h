#pragma once
// A quiet JACK client that notices when the JACK server goes away; owned by the GUI thread.

#include <atomic>
#include <memory>

typedef struct _jack_client jack_client_t;

namespace midi {

class JackServerWatch {
public:
    // nullptr when no JACK server runs (none is ever started); says nothing on stderr either way.
    [[nodiscard]] static std::unique_ptr<JackServerWatch> start();
    ~JackServerWatch();

    JackServerWatch(const JackServerWatch&) = delete;
    JackServerWatch& operator=(const JackServerWatch&) = delete;

    // False once the server has shut down or thrown us out. Any thread.
    bool serverAlive() const { return !m_shutDown.load(); }

private:
    JackServerWatch() = default;

    jack_client_t* m_client = nullptr;
    // Written by libjack's notification thread.
    std::atomic<bool> m_shutDown{false};
};

} // namespace midi
