#pragma once
// A MIDI port for tests that records what is sent to it instead of playing it; owned by the test's thread.

#include "platform/midi/MidiPort.h"
#include "platform/midi/testing/MidiJournal.h"

#include <memory>

namespace midi {

class RecordingPort final : public MidiPort {
public:
    enum class Sends { Accepted, Refused };

    // A port of its own, numbered device 0, recording into a journal of its own.
    RecordingPort();
    // A port on `device`, recording into `journal` (shared with the outputs that opened it).
    RecordingPort(std::shared_ptr<MidiJournal> journal, int device, Sends sends = Sends::Accepted);
    ~RecordingPort() override;

    RecordingPort(const RecordingPort&) = delete;
    RecordingPort& operator=(const RecordingPort&) = delete;

    // Records the message's bytes (as many as its status calls for) and yields true; a malformed message,
    // or any message when sends are refused, is recorded as refused and yields false.
    [[nodiscard]] bool send(std::uint32_t shortMessage) override;

    const MidiJournal& journal() const { return *m_journal; }
    std::vector<std::uint8_t> sentBytes() const { return m_journal->sentBytes(m_device); }

private:
    std::shared_ptr<MidiJournal> m_journal;
    int m_device;
    Sends m_sends;
};

} // namespace midi
