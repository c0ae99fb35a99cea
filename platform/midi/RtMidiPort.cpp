#include "platform/midi/RtMidiPort.h"

#include "platform/midi/JackServerWatch.h"
#include "platform/midi/ShortMessage.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>

namespace midi {

namespace {

const char* const kClientName = "piano";
const char* const kPortName = "output";

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

// RtMidi's own attempt to reach a missing ALSA sequencer prints to stderr (and so does libasound), so we
// look first, quietly, and only then hand the sequencer to RtMidi.
bool alsaSequencerPresent()
{
    snd_lib_error_set_handler(quietAlsa);
    snd_seq_t* sequencer = nullptr;
    const bool present = snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) == 0;
    if (present)
        snd_seq_close(sequencer);
    snd_lib_error_set_handler(nullptr);
    return present;
}

void recordError(RtMidiError::Type, const std::string&, void* failed)
{
    *static_cast<bool*>(failed) = true;
}

// An RtMidi output client on exactly `api` (RtMidi would quietly fall back to another layer when the one
// asked for is not compiled in), reporting errors to `failed` instead of printing or throwing them.
std::unique_ptr<RtMidiOut> makeClient(RtMidiPort::Api api, bool* failed)
{
    const RtMidi::Api rtApi = api == RtMidiPort::Api::Alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
    try {
        auto out = std::make_unique<RtMidiOut>(rtApi, kClientName);
        if (out->getCurrentApi() != rtApi)
            return nullptr;
        out->setErrorCallback(recordError, failed);
        return out;
    } catch (...) {
        return nullptr;
    }
}

} // namespace

std::vector<std::string> RtMidiPort::listPorts(Api api)
{
    bool failed = false;
    std::vector<std::string> names;
    if (api == Api::Alsa ? !alsaSequencerPresent() : !JackServerWatch::start())
        return names;
    std::unique_ptr<RtMidiOut> out = makeClient(api, &failed);
    if (!out)
        return names;
    try {
        const unsigned int count = out->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            std::string name = out->getPortName(i);
            if (!name.empty())
                names.push_back(std::move(name));
        }
    } catch (...) {
        names.clear();
    }
    return names;
}

std::unique_ptr<RtMidiPort> RtMidiPort::open(Api api, const std::string& systemName)
{
    std::unique_ptr<RtMidiPort> port(new RtMidiPort);
    if (api == Api::Alsa ? !alsaSequencerPresent() : !(port->m_jackWatch = JackServerWatch::start()))
        return nullptr;
    port->m_out = makeClient(api, &port->m_failed);
    if (!port->m_out)
        return nullptr;
    try {
        const unsigned int count = port->m_out->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            if (port->m_out->getPortName(i) != systemName)
                continue;
            port->m_failed = false;
            port->m_out->openPort(i, kPortName);
            if (port->m_failed || !port->m_out->isPortOpen())
                return nullptr;
            return port;
        }
    } catch (...) {
    }
    return nullptr;
}

RtMidiPort::~RtMidiPort() = default;

bool RtMidiPort::send(std::uint32_t shortMessage)
{
    const int length = shortMessageLength(shortMessage);
    // RtMidi's JACK client waits, without end, for room in its queue, which only a running server
    // empties; once the server is gone a send is a failure instead.
    if (length == 0 || (m_jackWatch && !m_jackWatch->serverAlive()))
        return false;
    const auto bytes = shortMessageBytes(shortMessage);
    m_failed = false;
    try {
        m_out->sendMessage(bytes.data(), static_cast<size_t>(length));
    } catch (...) {
        return false;
    }
    return !m_failed;
}

} // namespace midi
