#pragma once
// A device list for tests whose ports record what is sent to them; owned by the test's thread.

#include "platform/midi/MidiOutputs.h"
#include "platform/midi/testing/MidiJournal.h"

#include <memory>
#include <string>
#include <vector>

namespace midi {

class RecordingOutputs final : public MidiOutputs {
public:
    enum class Behaviour { Works, RefusesOpen, RefusesSends };

    explicit RecordingOutputs(std::vector<std::string> names = {"Built-in Synthesizer"});

    // How device `index` behaves from the next open on.
    void setBehaviour(int index, Behaviour behaviour);

    int count() const override { return static_cast<int>(m_names.size()); }
    std::string name(int index) const override;
    // Records Opened (or OpenRefused) for a device in range; an index out of range records nothing.
    std::unique_ptr<MidiPort> open(int index) override;

    // Opens, closes and sends of every port opened here, also of ports that outlive this list.
    const MidiJournal& journal() const { return *m_journal; }
    MidiJournal& journal() { return *m_journal; }
    std::vector<std::uint8_t> sentBytes(int device = -1) const { return m_journal->sentBytes(device); }

private:
    std::vector<std::string> m_names;
    std::vector<Behaviour> m_behaviours;
    std::shared_ptr<MidiJournal> m_journal = std::make_shared<MidiJournal>();
};

} // namespace midi
