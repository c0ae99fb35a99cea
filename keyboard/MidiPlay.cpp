#include "keyboard/MidiPlay.h"

#include <array>
#include <string_view>

namespace keyboard {
namespace {

constexpr std::array<std::string_view, 128> kInstrumentNames{
    "Acoustic Grand Piano", "Bright Acoustic Piano", "Electric Grand Piano", "Honky-tonk Piano",
    "Electric Piano 1", "Electric Piano 2", "Harpsichord", "Clavi",
    "Celesta", "Glockenspiel", "Music Box", "Vibraphone",
    "Marimba", "Xylophone", "Tubular Bells", "Dulcimer",
    "Drawbar Organ", "Percussive Organ", "Rock Organ", "Church Organ",
    "Reed Organ", "Accordion", "Harmonica", "Tango Accordion",
    "Acoustic Guitar (nylon)", "Acoustic Guitar (steel)", "Electric Guitar (jazz)", "Electric Guitar (clean)",
    "Electric Guitar (muted)", "Overdriven Guitar", "Distortion Guitar", "Guitar harmonics",
    "Acoustic Bass", "Electric Bass (finger)", "Electric Bass (pick)", "Fretless Bass",
    "Slap Bass 1", "Slap Bass 2", "Synth Bass 1", "Synth Bass 2",
    "Violin", "Viola", "Cello", "Contrabass",
    "Tremolo Strings", "Pizzicato Strings", "Orchestral Harp", "Timpani",
    "String Ensemble 1", "String Ensemble 2", "SynthStrings 1", "SynthStrings 2",
    "Choir Aahs", "Voice Oohs", "Synth Voice", "Orchestra Hit",
    "Trumpet", "Trombone", "Tuba", "Muted Trumpet",
    "French Horn", "Brass Section", "SynthBrass 1", "SynthBrass 2",
    "Soprano Sax", "Alto Sax", "Tenor Sax", "Baritone Sax",
    "Oboe", "English Horn", "Bassoon", "Clarinet",
    "Piccolo", "Flute", "Recorder", "Pan Flute",
    "Blown Bottle", "Shakuhachi", "Whistle", "Ocarina",
    "Lead 1 (square)", "Lead 2 (sawtooth)", "Lead 3 (calliope)", "Lead 4 (chiff)",
    "Lead 5 (charang)", "Lead 6 (voice)", "Lead 7 (fifths)", "Lead 8 (bass + lead)",
    "Pad 1 (new age)", "Pad 2 (warm)", "Pad 3 (polysynth)", "Pad 4 (choir)",
    "Pad 5 (bowed)", "Pad 6 (metallic)", "Pad 7 (halo)", "Pad 8 (sweep)",
    "FX 1 (rain)", "FX 2 (soundtrack)", "FX 3 (crystal)", "FX 4 (atmosphere)",
    "FX 5 (brightness)", "FX 6 (goblins)", "FX 7 (echoes)", "FX 8 (sci-fi)",
    "Sitar", "Banjo", "Shamisen", "Koto",
    "Kalimba", "Bag pipe", "Fiddle", "Shanai",
    "Tinkle Bell", "Agogo", "Steel Drums", "Woodblock",
    "Taiko Drum", "Melodic Tom", "Synth Drum", "Reverse Cymbal",
    "Guitar Fret Noise", "Breath Noise", "Seashore", "Bird Tweet",
    "Telephone Ring", "Helicopter", "Applause", "Gunshot",
};

constexpr std::uint32_t kProgramChange = 0xC0; // first channel
constexpr std::uint32_t kNoteOn = 0x90;        // first channel
constexpr std::uint32_t kVelocity = 0x7F;

// Status in bits 0-7, first data byte in 8-15, second in 16-23.
constexpr std::uint32_t pack(std::uint32_t status, std::uint32_t data1, std::uint32_t data2)
{
    return (status & 0xFF) | (data1 & 0xFF) << 8 | (data2 & 0xFF) << 16;
}

} // namespace

MidiPlay MIDI演奏;

void MidiPlay::attach(std::unique_ptr<midi::MidiOutputs> outputs)
{
    close();
    m_outputs = std::move(outputs);
}

int MidiPlay::deviceCount() const { return m_outputs ? m_outputs->count() : 0; }

std::string MidiPlay::deviceName(int d) const
{
    if (d < 0 || d >= deviceCount())
        return {};
    return m_outputs->name(d);
}

bool MidiPlay::selectDevice(int d)
{
    if (d < 0 || d >= deviceCount())
        return false;
    close();
    m_port = m_outputs->open(d);
    if (!m_port)
        return false;
    m_openDevice = d;
    return true;
}

void MidiPlay::close()
{
    m_port.reset();
    m_openDevice = -1;
}

int MidiPlay::instrumentCount() const { return static_cast<int>(kInstrumentNames.size()); }

std::string MidiPlay::instrumentName(int n) const
{
    if (n < 1 || n > instrumentCount())
        return {};
    return std::string(kInstrumentNames[static_cast<size_t>(n - 1)]);
}

bool MidiPlay::setInstrument(int n)
{
    if (n < 1 || n > instrumentCount())
        return false;
    send(pack(kProgramChange, static_cast<std::uint32_t>(n - 1), 0));
    return true;
}

bool MidiPlay::playNote(int note)
{
    send(pack(kNoteOn, static_cast<std::uint32_t>(note), kVelocity));
    return true;
}

void attachSystemOutputs(audio::AudioOutput* audioOut) { MIDI演奏.attach(midi::createSystemOutputs(audioOut)); }

void closeMidiOutput() { MIDI演奏.close(); }

void detachOutputs() { MIDI演奏.attach(nullptr); }

void MidiPlay::send(std::uint32_t shortMessage)
{
    if (m_port)
        (void)m_port->send(shortMessage);
}

} // namespace keyboard
