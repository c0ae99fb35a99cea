#include "platform/media/DeviceMixer.h"

#include <thread>

namespace media {

void DeviceMixer::render(float* out, int frames) noexcept
{
    for (auto& slot : m_slots) {
        DevicePlayer* player = slot.exchange(nullptr, std::memory_order_acquire);
        if (player == nullptr)
            continue;
        player->render(out, frames);
        slot.store(player, std::memory_order_release);
    }
}

int DeviceMixer::attach(DevicePlayer* player)
{
    for (int i = 0; i < kSlots; ++i) {
        if (!m_used[i]) {
            m_used[i] = true;
            m_slots[i].store(player, std::memory_order_release);
            return i;
        }
    }
    return -1;
}

DevicePlayer* DeviceMixer::hold(int slot)
{
    // The slot is known to be in use, so an empty slot means the audio thread is rendering it.
    for (;;) {
        if (DevicePlayer* p = m_slots[slot].exchange(nullptr, std::memory_order_acquire))
            return p;
        std::this_thread::yield();
    }
}

void DeviceMixer::release(int slot, DevicePlayer* player) { m_slots[slot].store(player, std::memory_order_release); }

DevicePlayer* DeviceMixer::detach(int slot)
{
    DevicePlayer* p = hold(slot);
    m_used[slot] = false;
    return p;
}

} // namespace media
