#pragma once
// The MIDI output component: the machine's output devices with one of them open at a time, and the
// General MIDI instrument names; GUI thread.

#include "platform/midi/MidiOutputs.h"
#include "platform/midi/MidiPort.h"

#include <cstdint>
#include <memory>
#include <string>

namespace keyboard {

class MidiPlay {
public:
    // Takes the list of devices the component numbers and opens; null leaves it with none. Whatever
    // device was open is closed first.
    void attach(std::unique_ptr<midi::MidiOutputs> outputs);

    [[nodiscard]] int deviceCount() const;
    // "" when d is out of range.
    [[nodiscard]] std::string deviceName(int d) const;
    // Out of range: false, and the open device stays open. Otherwise the open device is closed, then
    // device d opened; false (and no device open) when that fails.
    bool selectDevice(int d);
    // Closes the open device, if any.
    void close();
    [[nodiscard]] bool isOpen() const { return m_port != nullptr; }
    // The open device's number, -1 when none is open.
    [[nodiscard]] int openDevice() const { return m_openDevice; }

    [[nodiscard]] int instrumentCount() const;
    // Instrument n (1-based) is General MIDI program n - 1; "" when n is out of range.
    [[nodiscard]] std::string instrumentName(int n) const;
    // Program Change C0 (n - 1) on the first channel; false, and nothing sent, when n is out of range.
    bool setInstrument(int n);
    // Note On 90 nn 7F on the first channel, from the low 8 bits of `note`. No Note Off is ever sent.
    bool playNote(int note);

private:
    // Hands the message to the open device; dropped when none is open. A device that refuses it is
    // left as it is: the key press it came from shows anyway, and the next message may get through.
    void send(std::uint32_t shortMessage);

    std::unique_ptr<midi::MidiOutputs> m_outputs;
    std::unique_ptr<midi::MidiPort> m_port;
    int m_openDevice = -1;
};

// The component placed on the main window.
extern MidiPlay MIDI演奏;

// Gives MIDI演奏 the machine's devices: the built-in synthesizer rendering into `audioOut` (null: listed
// but silent), then the system's MIDI ports. `audioOut` must outlive the devices: see detachOutputs().
void attachSystemOutputs(audio::AudioOutput* audioOut);
// The main window is going away: the open device is closed.
void closeMidiOutput();
// Drops the device list, and with it the synthesizer, before the audio output they render into goes.
void detachOutputs();

} // namespace keyboard
