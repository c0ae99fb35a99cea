#pragma once
// An open MIDI output port; owned by the GUI thread. Destroying it closes the port.

#include <cstdint>

namespace midi {

class MidiPort {
public:
    virtual ~MidiPort() = default;

    // shortMessage packs the status byte in bits 0-7, the first data byte in 8-15 and the second in 16-23.
    // The port sends as many bytes as the status calls for (C0 pp is two bytes, 90 nn vv three). False
    // when the message is malformed (see shortMessageLength) or the device refused it.
    [[nodiscard]] virtual bool send(std::uint32_t shortMessage) = 0;
};

} // namespace midi
