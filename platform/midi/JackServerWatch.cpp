#include "platform/midi/JackServerWatch.h"

#include <jack/jack.h>

namespace midi {

namespace {

void quietJack(const char*) {}

// libjack reports a missing server with several lines on stderr; here that is an ordinary answer.
class QuietJackScope {
public:
    QuietJackScope()
        : m_error(jack_error_callback)
        , m_info(jack_info_callback)
    {
        jack_set_error_function(quietJack);
        jack_set_info_function(quietJack);
    }
    ~QuietJackScope()
    {
        jack_set_error_function(m_error);
        jack_set_info_function(m_info);
    }
    QuietJackScope(const QuietJackScope&) = delete;
    QuietJackScope& operator=(const QuietJackScope&) = delete;

private:
    void (*m_error)(const char*);
    void (*m_info)(const char*);
};

} // namespace

std::unique_ptr<JackServerWatch> JackServerWatch::start()
{
    QuietJackScope quiet;
    jack_status_t status{};
    // JackNoStartServer: a desktop piano must never start a sound server as a side effect.
    jack_client_t* client = jack_client_open("piano-watch", JackNoStartServer, &status);
    if (!client)
        return nullptr;
    std::unique_ptr<JackServerWatch> watch(new JackServerWatch);
    watch->m_client = client;
    jack_on_shutdown(
        client, [](void* self) { static_cast<JackServerWatch*>(self)->m_shutDown.store(true); }, watch.get());
    return watch;
}

JackServerWatch::~JackServerWatch()
{
    jack_client_close(m_client);
}

} // namespace midi
