#include "platform/midi/testing/MidiJournal.h"

namespace midi {

std::vector<std::uint8_t> MidiJournal::sentBytes(int device) const
{
    std::vector<std::uint8_t> bytes;
    for (const RecordedEvent& event : m_events) {
        if (event.kind == RecordedEvent::Kind::Sent && (device < 0 || event.device == device))
            bytes.insert(bytes.end(), event.bytes.begin(), event.bytes.end());
    }
    return bytes;
}

int MidiJournal::openPorts(int device) const
{
    int open = 0;
    for (const RecordedEvent& event : m_events) {
        if (device >= 0 && event.device != device)
            continue;
        if (event.kind == RecordedEvent::Kind::Opened)
            ++open;
        else if (event.kind == RecordedEvent::Kind::Closed)
            --open;
    }
    return open;
}

} // namespace midi
