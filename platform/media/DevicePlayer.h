#pragma once
// One open device's playback. render() runs on the audio thread; the transport calls run on the GUI
// thread only while the engine holds the device exclusively (DeviceMixer::hold), so the two never
// overlap. Mode, position and volume are atomics that either thread may read at any time.

#include <atomic>
#include <cstdint>

namespace media {

class DevicePlayer {
public:
    enum class Mode { Stopped, Playing, Paused };

    virtual ~DevicePlayer() = default;

    // Adds `frames` stereo frames, scaled by the device volume, to `out`. Real-time code: no
    // allocation, lock, I/O or logging. Reaching the end leaves the device stopped at its end.
    virtual void render(float* out, int frames) noexcept = 0;

    [[nodiscard]] virtual int64_t lengthMs() const = 0;

    // Transport, GUI thread, device held. seek() clamps to 0..length and keeps the mode.
    virtual void seek(int64_t ms) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;

    [[nodiscard]] Mode mode() const { return m_mode.load(std::memory_order_acquire); }
    [[nodiscard]] int64_t positionMs() const { return m_positionMs.load(std::memory_order_acquire); }

    // Volume per channel, 0..1000 (1000 = unchanged); any thread.
    void setVolume(int left, int right)
    {
        m_gainLeft.store(static_cast<float>(left) / 1000.0f, std::memory_order_relaxed);
        m_gainRight.store(static_cast<float>(right) / 1000.0f, std::memory_order_relaxed);
    }

protected:
    std::atomic<Mode> m_mode{Mode::Stopped};
    std::atomic<int64_t> m_positionMs{0};
    std::atomic<float> m_gainLeft{1.0f};
    std::atomic<float> m_gainRight{1.0f};
};

} // namespace media
