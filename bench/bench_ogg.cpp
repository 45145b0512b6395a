// BM_OggFirstAudio: from a five-minute OGG entry's bytes to the first device buffer of PCM,
// the delay before a selected piece of music is heard. Target: 30 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

#include "OggBuilder.h"
#include "OggDecoder.h"

namespace
{
constexpr int kRate = 44100;
constexpr std::size_t kDeviceFrames = 2048;

// Notes of a pentatonic scale changing every quarter second, each with a few partials and a
// decay, the two channels a fifth apart, and a burst of noise on every beat: the encoder
// gets no stretch of silence or pure tone to skip over.
std::vector<std::int16_t> Music(std::size_t nSeconds)
{
    constexpr double kScale[] = {220.0, 247.5, 277.2, 330.0, 370.0, 440.0, 495.0, 554.4};
    const std::size_t nFrames = nSeconds * kRate;
    const std::size_t nNote = kRate / 4;
    std::vector<std::int16_t> pcm(2 * nFrames);
    std::uint32_t nSeed = 7;
    for (std::size_t i = 0; i < nFrames; ++i)
    {
        const std::size_t nIndex = i / nNote;
        const double dHz = kScale[(nIndex * 5 + nIndex / 7) % 8];
        const double t = static_cast<double>(i) / kRate;
        const double dDecay = std::exp(-3.0 * static_cast<double>(i % nNote) / nNote);
        nSeed = nSeed * 1664525 + 1013904223;
        const double dNoise = i % (2 * nNote) < kRate / 50 ? ((nSeed >> 16) / 32768.0 - 1.0) : 0;
        for (int c = 0; c < 2; ++c)
        {
            const double w = 2 * std::numbers::pi * dHz * (c ? 1.5 : 1.0) * t;
            const double v = std::sin(w) + 0.5 * std::sin(2 * w) + 0.25 * std::sin(3 * w);
            pcm[2 * i + c] = static_cast<std::int16_t>(7000 * dDecay * v + 3000 * dNoise);
        }
    }
    return pcm;
}

void BM_OggFirstAudio(benchmark::State& state)
{
    static const std::vector<unsigned char> ogg = MakeOgg(kRate, 2, Music(300));
    std::vector<std::int16_t> buffer(2 * kDeviceFrames);
    for (auto _ : state)
    {
        // The entry's bytes as the archive handed them over; the source takes them.
        std::vector<std::uint8_t> bytes(ogg.begin(), ogg.end());
        const auto start = std::chrono::steady_clock::now();
        std::unique_ptr<COggSource> source;
        if (!COggSource::Open(std::move(bytes), source) ||
            source->Read(buffer.data(), kDeviceFrames) != kDeviceFrames)
            state.SkipWithError("no first buffer");
        benchmark::DoNotOptimize(buffer.data());
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["entry_MB"] = static_cast<double>(ogg.size()) / 1e6;
}
} // namespace

BENCHMARK(BM_OggFirstAudio)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
