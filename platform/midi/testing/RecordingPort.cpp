#include "platform/midi/testing/RecordingPort.h"

#include "platform/midi/ShortMessage.h"

namespace midi {

RecordingPort::RecordingPort()
    : RecordingPort(std::make_shared<MidiJournal>(), 0)
{
}

RecordingPort::RecordingPort(std::shared_ptr<MidiJournal> journal, int device, Sends sends)
    : m_journal(std::move(journal))
    , m_device(device)
    , m_sends(sends)
{
}

RecordingPort::~RecordingPort()
{
    m_journal->add({RecordedEvent::Kind::Closed, m_device, {}});
}

bool RecordingPort::send(std::uint32_t shortMessage)
{
    const auto bytes = shortMessageBytes(shortMessage);
    const int length = shortMessageLength(shortMessage);
    if (length == 0 || m_sends == Sends::Refused) {
        m_journal->add({RecordedEvent::Kind::SendRefused, m_device, {bytes.begin(), bytes.end()}});
        return false;
    }
    m_journal->add({RecordedEvent::Kind::Sent, m_device, {bytes.begin(), bytes.begin() + length}});
    return true;
}

} // namespace midi
