#pragma once
// A single-producer single-consumer queue of short messages: the GUI thread pushes, the audio thread pops.

#include <array>
#include <atomic>
#include <cstdint>

namespace midi {

class MessageRing {
public:
    static constexpr std::uint32_t kCapacity = 1024;

    // Producer side. False when the ring is full (the message is dropped).
    [[nodiscard]] bool push(std::uint32_t message) noexcept
    {
        const std::uint32_t tail = m_tail.load(std::memory_order_relaxed);
        if (tail - m_head.load(std::memory_order_acquire) == kCapacity)
            return false;
        m_slots[tail % kCapacity] = message;
        m_tail.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer side; real-time safe. False when the ring is empty.
    [[nodiscard]] bool pop(std::uint32_t& message) noexcept
    {
        const std::uint32_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return false;
        message = m_slots[head % kCapacity];
        m_head.store(head + 1, std::memory_order_release);
        return true;
    }

    // Drops everything queued. Only while no consumer runs (the consumer's side is taken over here).
    void clear() noexcept { m_head.store(m_tail.load(std::memory_order_acquire), std::memory_order_release); }

private:
    static_assert((kCapacity & (kCapacity - 1)) == 0, "indices wrap around 2^32, so the capacity divides it");
    std::array<std::uint32_t, kCapacity> m_slots{};
    // Free-running counters; their difference is the number of queued messages.
    alignas(64) std::atomic<std::uint32_t> m_head{0};
    alignas(64) std::atomic<std::uint32_t> m_tail{0};
};

} // namespace midi
