#include "platform/midi/SystemOutputs.h"

#include "platform/midi/BuiltinSynthPort.h"
#include "platform/midi/Utf8.h"

namespace midi {

namespace {
constexpr std::size_t kMaxNameBytes = 31;
}

std::unique_ptr<SystemOutputs> SystemOutputs::create(audio::AudioOutput* audioOut, BuiltinSynth::Options synthOptions)
{
    std::unique_ptr<SystemOutputs> outputs(new SystemOutputs);
    if (audioOut)
        outputs->m_synth = BuiltinSynth::create(*audioOut, std::move(synthOptions));
    outputs->m_devices.push_back({kBuiltinName, kBuiltinName, true});
    for (RtMidiPort::Api api : {RtMidiPort::Api::Alsa, RtMidiPort::Api::Jack}) {
        for (std::string& systemName : RtMidiPort::listPorts(api))
            outputs->m_devices.push_back({truncateUtf8(systemName, kMaxNameBytes), std::move(systemName), false, api});
    }
    return outputs;
}

int SystemOutputs::count() const
{
    return static_cast<int>(m_devices.size());
}

std::string SystemOutputs::name(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return m_devices[static_cast<std::size_t>(index)].name;
}

std::unique_ptr<MidiPort> SystemOutputs::open(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    const Device& device = m_devices[static_cast<std::size_t>(index)];
    if (device.builtin) {
        if (!m_synth || m_synth->state() == BuiltinSynth::State::Failed)
            return nullptr;
        return std::make_unique<BuiltinSynthPort>(m_synth);
    }
    return RtMidiPort::open(device.api, device.systemName);
}

std::unique_ptr<MidiOutputs> createSystemOutputs(audio::AudioOutput* audioOut)
{
    return SystemOutputs::create(audioOut);
}

} // namespace midi
