#pragma once
// The device list of this machine: the built-in synthesizer, then the ALSA and JACK ports; owned by the GUI thread.

#include "platform/midi/BuiltinSynth.h"
#include "platform/midi/MidiOutputs.h"
#include "platform/midi/RtMidiPort.h"

#include <memory>
#include <string>
#include <vector>

namespace midi {

class SystemOutputs final : public MidiOutputs {
public:
    static constexpr const char* kBuiltinName = "Built-in Synthesizer";

    // Takes the list of ports and starts loading the synthesizer's SoundFont in the background.
    [[nodiscard]] static std::unique_ptr<SystemOutputs> create(
        audio::AudioOutput* audioOut, BuiltinSynth::Options synthOptions = {});

    int count() const override;
    std::string name(int index) const override;
    std::unique_ptr<MidiPort> open(int index) override;

    // The synthesizer behind device 0; null when there is no audio output or no SoundFont.
    std::shared_ptr<BuiltinSynth> builtinSynth() const { return m_synth; }

private:
    struct Device {
        std::string name;       // as shown: at most 31 bytes
        std::string systemName; // as the system spells it, to find the port again
        bool builtin = false;
        RtMidiPort::Api api = RtMidiPort::Api::Alsa;
    };

    SystemOutputs() = default;

    std::vector<Device> m_devices;
    std::shared_ptr<BuiltinSynth> m_synth;
};

} // namespace midi
