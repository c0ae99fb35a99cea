#pragma once
// Measurements of rendered sound for the synthesizer's tests and benchmarks; pure functions, any thread.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace sound {

// The left channel of interleaved stereo frames.
inline std::vector<float> leftChannel(const std::vector<float>& stereo)
{
    std::vector<float> mono(stereo.size() / 2);
    for (std::size_t i = 0; i < mono.size(); ++i)
        mono[i] = stereo[2 * i];
    return mono;
}

inline double rms(const std::vector<float>& samples)
{
    double sum = 0;
    for (float s : samples)
        sum += static_cast<double>(s) * s;
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

// The period of the whole waveform by the YIN method (difference function, cumulative mean normalisation,
// the first dip under a threshold, parabolic interpolation), as a frequency. A strong second partial does
// not fool it into the octave above, but on a decaying, slightly inharmonic piano tone it reads up to
// twenty cents sharp, so it only tells which partial is the fundamental. 0 when no period is found.
inline double periodFrequency(const std::vector<float>& x, int rate, double minHz = 50, double maxHz = 1000)
{
    const int tauMin = static_cast<int>(rate / maxHz);
    const int tauMax = static_cast<int>(rate / minHz);
    const int window = static_cast<int>(x.size()) - tauMax - 2;
    if (window < tauMax)
        return 0;
    std::vector<double> difference(static_cast<std::size_t>(tauMax) + 2, 0.0);
    for (int tau = 1; tau <= tauMax + 1; ++tau) {
        double sum = 0;
        for (int j = 0; j < window; ++j) {
            const double delta = static_cast<double>(x[j]) - x[j + tau];
            sum += delta * delta;
        }
        difference[static_cast<std::size_t>(tau)] = sum;
    }
    std::vector<double> normalised(difference.size(), 1.0);
    double running = 0;
    for (int tau = 1; tau <= tauMax + 1; ++tau) {
        running += difference[static_cast<std::size_t>(tau)];
        normalised[static_cast<std::size_t>(tau)] = running > 0 ? difference[static_cast<std::size_t>(tau)] * tau / running : 1.0;
    }
    int best = -1;
    for (int tau = std::max(tauMin, 2); tau <= tauMax; ++tau) {
        if (normalised[static_cast<std::size_t>(tau)] < 0.15) {
            while (tau + 1 <= tauMax && normalised[static_cast<std::size_t>(tau) + 1] < normalised[static_cast<std::size_t>(tau)])
                ++tau;
            best = tau;
            break;
        }
    }
    if (best < 0)
        return 0;
    const double a = difference[static_cast<std::size_t>(best) - 1];
    const double b = difference[static_cast<std::size_t>(best)];
    const double c = difference[static_cast<std::size_t>(best) + 1];
    const double curve = a - 2 * b + c;
    const double shift = curve > 0 ? 0.5 * (a - c) / curve : 0.0;
    return rate / (best + shift);
}

inline double cents(double frequency, double reference)
{
    return 1200.0 * std::log2(frequency / reference);
}

// Magnitude of the Hann-windowed spectrum of `x` at `hertz`.
inline double magnitudeAt(const std::vector<float>& x, int rate, double hertz)
{
    const std::size_t n = x.size();
    const double w = 2 * M_PI * hertz / rate;
    double re = 0, im = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(i) / static_cast<double>(n - 1));
        re += hann * x[i] * std::cos(w * static_cast<double>(i));
        im -= hann * x[i] * std::sin(w * static_cast<double>(i));
    }
    return std::hypot(re, im);
}

// The frequency of the lowest partial: the waveform's period picks it out, then the spectral peak within
// 60 cents of it, on a half-hertz grid refined by a parabola through the log magnitudes, places it. A
// piano's upper partials run sharp of whole multiples, so this reads the fundamental itself. 0 when the
// waveform has no period.
inline double fundamental(const std::vector<float>& x, int rate, double minHz = 50, double maxHz = 1000)
{
    const double coarse = periodFrequency(x, rate, minHz, maxHz);
    if (coarse <= 0)
        return 0;
    const double step = 0.5;
    const double low = coarse * std::pow(2.0, -60.0 / 1200);
    const double high = coarse * std::pow(2.0, 60.0 / 1200);
    std::vector<double> grid;
    for (double f = low; f <= high; f += step)
        grid.push_back(std::log(magnitudeAt(x, rate, f) + 1e-30));
    const std::size_t best = static_cast<std::size_t>(std::max_element(grid.begin(), grid.end()) - grid.begin());
    double shift = 0;
    if (best > 0 && best + 1 < grid.size()) {
        const double curve = grid[best - 1] - 2 * grid[best] + grid[best + 1];
        if (curve < 0)
            shift = 0.5 * (grid[best - 1] - grid[best + 1]) / curve;
    }
    return low + (static_cast<double>(best) + shift) * step;
}

// Magnitudes of partials 1..count of `f0` (Hann-windowed DFT at each), scaled so that they sum to 1:
// a coarse picture of the timbre, independent of loudness.
inline std::vector<double> partialProfile(const std::vector<float>& x, int rate, double f0, int count = 8)
{
    std::vector<double> profile;
    double total = 0;
    for (int k = 1; k <= count; ++k) {
        profile.push_back(magnitudeAt(x, rate, k * f0));
        total += profile.back();
    }
    for (double& p : profile)
        p = total > 0 ? p / total : 0;
    return profile;
}

} // namespace sound
