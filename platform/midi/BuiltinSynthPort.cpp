#include "platform/midi/BuiltinSynthPort.h"

namespace midi {

BuiltinSynthPort::BuiltinSynthPort(std::shared_ptr<BuiltinSynth> synth)
    : m_synth(std::move(synth))
{
    m_synth->attach();
}

BuiltinSynthPort::~BuiltinSynthPort()
{
    m_synth->detach();
}

bool BuiltinSynthPort::send(std::uint32_t shortMessage)
{
    return m_synth->post(shortMessage);
}

} // namespace midi
