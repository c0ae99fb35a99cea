#pragma once
// An open output port of the system's MIDI layer (ALSA sequencer or JACK) through RtMidi; owned by the GUI thread.

#include "platform/midi/MidiPort.h"

#include <memory>
#include <string>
#include <vector>

class RtMidiOut;

namespace midi {

class JackServerWatch;

class RtMidiPort final : public MidiPort {
public:
    enum class Api { Alsa, Jack };

    // The full names of the ports that `api` offers for output now; empty when that layer is not there
    // (no ALSA sequencer, no JACK server). Never starts a server and never throws.
    [[nodiscard]] static std::vector<std::string> listPorts(Api api);
    // Opens the port listed under `systemName` (looked up again, since the system's own numbering may
    // have changed since the list was taken); nullptr when it is gone or refuses us.
    [[nodiscard]] static std::unique_ptr<RtMidiPort> open(Api api, const std::string& systemName);

    ~RtMidiPort() override;
    RtMidiPort(const RtMidiPort&) = delete;
    RtMidiPort& operator=(const RtMidiPort&) = delete;

    [[nodiscard]] bool send(std::uint32_t shortMessage) override;

private:
    RtMidiPort() = default;

    std::unique_ptr<JackServerWatch> m_jackWatch; // JACK ports only
    std::unique_ptr<RtMidiOut> m_out;
    // Set by RtMidi's error callback; lets a failed send be told apart from a good one.
    bool m_failed = false;
};

} // namespace midi
