#pragma once
// An open port on the built-in synthesizer; owned by the GUI thread. While it is open the synthesizer is mixed.

#include "platform/midi/BuiltinSynth.h"
#include "platform/midi/MidiPort.h"

#include <memory>

namespace midi {

class BuiltinSynthPort final : public MidiPort {
public:
    explicit BuiltinSynthPort(std::shared_ptr<BuiltinSynth> synth);
    ~BuiltinSynthPort() override;

    BuiltinSynthPort(const BuiltinSynthPort&) = delete;
    BuiltinSynthPort& operator=(const BuiltinSynthPort&) = delete;

    [[nodiscard]] bool send(std::uint32_t shortMessage) override;

private:
    std::shared_ptr<BuiltinSynth> m_synth;
};

} // namespace midi
