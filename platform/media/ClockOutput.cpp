#include "platform/media/ClockOutput.h"

#include <algorithm>
#include <chrono>

namespace media {

ClockOutput::ClockOutput(int sampleRate, int bufferFrames) : m_sampleRate(sampleRate), m_bufferFrames(bufferFrames) {}

ClockOutput::~ClockOutput()
{
    {
        std::lock_guard lock(m_mutex);
        m_sources.clear();
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void ClockOutput::addSource(audio::AudioSource* source)
{
    bool start = false;
    {
        std::lock_guard lock(m_mutex);
        if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end())
            m_sources.push_back(source);
        start = !m_thread.joinable();
        m_stop = false;
    }
    if (start)
        m_thread = std::thread([this] { run(); });
}

void ClockOutput::removeSource(audio::AudioSource* source)
{
    bool stop = false;
    {
        std::lock_guard lock(m_mutex);
        std::erase(m_sources, source);
        stop = m_sources.empty();
        m_stop = stop;
    }
    if (stop && m_thread.joinable()) {
        m_wake.notify_all();
        m_thread.join();
    }
}

void ClockOutput::run()
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
        static_cast<double>(m_bufferFrames) / m_sampleRate));
    std::vector<float> scratch(static_cast<size_t>(m_bufferFrames) * 2);
    auto next = Clock::now();
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        std::fill(scratch.begin(), scratch.end(), 0.0f);
        for (audio::AudioSource* s : m_sources)
            s->render(scratch.data(), m_bufferFrames);
        next += period;
        const auto now = Clock::now();
        if (next < now - std::chrono::seconds(1))
            next = now; // the machine was suspended or starved: do not race to catch up
        m_wake.wait_until(lock, next, [this] { return m_stop; });
    }
}

} // namespace media
