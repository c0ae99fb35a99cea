#include "platform/midi/testing/RecordingOutputs.h"

#include "platform/midi/testing/RecordingPort.h"

namespace midi {

RecordingOutputs::RecordingOutputs(std::vector<std::string> names)
    : m_names(std::move(names))
    , m_behaviours(m_names.size(), Behaviour::Works)
{
}

void RecordingOutputs::setBehaviour(int index, Behaviour behaviour)
{
    if (index >= 0 && index < count())
        m_behaviours[static_cast<std::size_t>(index)] = behaviour;
}

std::string RecordingOutputs::name(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return m_names[static_cast<std::size_t>(index)];
}

std::unique_ptr<MidiPort> RecordingOutputs::open(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    const Behaviour behaviour = m_behaviours[static_cast<std::size_t>(index)];
    if (behaviour == Behaviour::RefusesOpen) {
        m_journal->add({RecordedEvent::Kind::OpenRefused, index, {}});
        return nullptr;
    }
    m_journal->add({RecordedEvent::Kind::Opened, index, {}});
    return std::make_unique<RecordingPort>(m_journal, index,
        behaviour == Behaviour::RefusesSends ? RecordingPort::Sends::Refused : RecordingPort::Sends::Accepted);
}

} // namespace midi
