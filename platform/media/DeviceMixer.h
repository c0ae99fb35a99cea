#pragma once
// The engine's audio source: mixes every open device; render() runs on the audio thread, the slot
// calls on the GUI thread.

#include "platform/audio/AudioSource.h"
#include "platform/media/DevicePlayer.h"

#include <array>
#include <atomic>

namespace media {

// Each device sits in a slot. The audio thread takes a device out of its slot with an atomic
// exchange, renders it and puts it back; when the slot is empty because the GUI thread holds the
// device, the audio thread skips it for that block and never waits. The GUI thread holds a device
// the same way, spinning only for as long as one render of that device lasts. A device taken out
// for good is destroyed by the GUI thread, never by the audio thread.
class DeviceMixer final : public audio::AudioSource {
public:
    static constexpr int kSlots = 16;

    void render(float* out, int frames) noexcept override;

    // GUI thread. Puts a device into a free slot; the slot number, or -1 when all are taken.
    [[nodiscard]] int attach(DevicePlayer* player);
    // GUI thread. Takes the device out of its slot until release(); the audio thread skips it meanwhile.
    [[nodiscard]] DevicePlayer* hold(int slot);
    void release(int slot, DevicePlayer* player);
    // GUI thread. Takes the device out for good; the caller may then destroy it.
    [[nodiscard]] DevicePlayer* detach(int slot);

private:
    std::array<std::atomic<DevicePlayer*>, kSlots> m_slots{};
    std::array<bool, kSlots> m_used{}; // GUI thread only
};

} // namespace media
