#pragma once
// What recording MIDI devices saw, in order; owned by the test's thread and shared by the ports it records.

#include <cstdint>
#include <vector>

namespace midi {

struct RecordedEvent {
    enum class Kind { Opened, OpenRefused, Closed, Sent, SendRefused };
    Kind kind;
    int device;
    std::vector<std::uint8_t> bytes; // Sent: the bytes on the wire; SendRefused: the three packed bytes
    bool operator==(const RecordedEvent&) const = default;
};

class MidiJournal {
public:
    void add(RecordedEvent event) { m_events.push_back(std::move(event)); }
    const std::vector<RecordedEvent>& events() const { return m_events; }
    void clear() { m_events.clear(); }

    // The bytes of every successful send, in order, to `device` or (with -1) to any device.
    std::vector<std::uint8_t> sentBytes(int device = -1) const;
    // Ports opened and not yet closed, on `device` or (with -1) on any device.
    int openPorts(int device = -1) const;

private:
    std::vector<RecordedEvent> m_events;
};

} // namespace midi
