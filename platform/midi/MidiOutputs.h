#pragma once
// The machine's MIDI output devices, numbered 0.. stably for the program's life; owned by the GUI thread.

#include "platform/midi/MidiPort.h"

#include <memory>
#include <string>

namespace audio {
class AudioOutput;
}

namespace midi {

class MidiOutputs {
public:
    virtual ~MidiOutputs() = default;

    virtual int count() const = 0;
    // At most 31 bytes of UTF-8; "" when index is out of range.
    virtual std::string name(int index) const = 0;
    // nullptr when index is out of range or the device cannot be opened now.
    virtual std::unique_ptr<MidiPort> open(int index) = 0;
};

// Device 0 is the built-in synthesizer, which renders into `audioOut` (may be null: device 0 is then
// listed but cannot be opened); then the system's ports, first ALSA's, then JACK's. The list is taken
// once, here. `audioOut` must outlive the list and every port opened from it.
[[nodiscard]] std::unique_ptr<MidiOutputs> createSystemOutputs(audio::AudioOutput* audioOut);

} // namespace midi
