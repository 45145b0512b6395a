#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>
#include <tuple>
#include <utility>

#include "CSdlSoundOutput.h"
#include "MediaBuilders.h"
#include "OggBuilder.h"
#include "OggDecoder.h"
#include "SdlDiskAudio.h"
#include "WavEncoder.h"
#include "WavPcm.h"

namespace
{
using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::int16_t>;

// What the output did with a source, kept beyond the source's life.
struct SourceLog
{
    std::atomic<int> nReads{0}, nRewinds{0};
    std::atomic<bool> bReading{false}, bFreed{false}, bFreedWhileReading{false};
};

// Passes reads on to an OGG source, or without one gives nFrames of nValue once and then
// nothing, not even after a rewind.
class CLoggedSource : public IPcmSource
{
public:
    CLoggedSource(std::shared_ptr<SourceLog> pLog, std::unique_ptr<COggSource> pOgg)
        : m_pLog(std::move(pLog)), m_pOgg(std::move(pOgg)), m_nRate(m_pOgg->Rate()),
          m_nChannels(m_pOgg->Channels())
    {
    }
    CLoggedSource(std::shared_ptr<SourceLog> pLog, int nRate, int nChannels, std::size_t nFrames,
                  std::int16_t nValue = 0x1234)
        : m_pLog(std::move(pLog)), m_nRate(nRate), m_nChannels(nChannels), m_nLeft(nFrames),
          m_nValue(nValue)
    {
    }
    ~CLoggedSource() override
    {
        m_pLog->bFreedWhileReading = m_pLog->bReading.load();
        m_pLog->bFreed = true;
    }
    int Rate() const override { return m_nRate; }
    int Channels() const override { return m_nChannels; }
    std::size_t Read(std::int16_t* pFrames, std::size_t nFrames) override
    {
        m_pLog->bReading = true;
        ++m_pLog->nReads;
        std::this_thread::sleep_for(std::chrono::milliseconds(1)); // widens a race with Stop
        const std::size_t n = m_pOgg ? m_pOgg->Read(pFrames, nFrames) : std::min(nFrames, m_nLeft);
        if (!m_pOgg)
        {
            std::fill_n(pFrames, n * static_cast<std::size_t>(m_nChannels), m_nValue);
            m_nLeft -= n;
        }
        m_pLog->bReading = false;
        return n;
    }
    bool Rewind() override
    {
        // Refused at last, so that an output rewinding for ever fails the test, not hangs it.
        return ++m_pLog->nRewinds < 1000 && (!m_pOgg || m_pOgg->Rewind());
    }

private:
    std::shared_ptr<SourceLog> m_pLog;
    std::unique_ptr<COggSource> m_pOgg;
    int m_nRate;
    int m_nChannels;
    std::size_t m_nLeft = 0;
    std::int16_t m_nValue = 0;
};

// The indices of the first and one past the last sample that is not silence.
std::pair<std::size_t, std::size_t> Sounding(const Samples& samples)
{
    const auto loud = [](std::int16_t v) { return v != 0; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
    return {static_cast<std::size_t>(first - samples.begin()),
            static_cast<std::size_t>(samples.rend() - last)};
}

TEST_F(SdlDiskAudio, StreamLoopsWithoutGapAndStopFreesTheSourceAfterItsLastRead)
{
    Samples tone; // of odd length, so that loop seams fall inside the device's buffers
    for (int i = 0; i < 2 * 1001; ++i)
        tone.push_back(static_cast<std::int16_t>(9000 * std::sin(0.05 * i + 0.3)));
    // The streams' device format, so that what is written is the decoded PCM itself.
    const Bytes ogg = MakeOgg(44100, 2, tone);
    PcmSound sound;
    ASSERT_TRUE(DecodeOggToPcm16(ogg, sound));
    const Samples& loop = sound.samples;
    std::unique_ptr<COggSource> pOgg;
    ASSERT_TRUE(COggSource::Open(ogg, pOgg));
    auto pLog = std::make_shared<SourceLog>();
    CSdlSoundOutput output;
    ASSERT_TRUE(output.PlayStream(std::make_unique<CLoggedSource>(pLog, std::move(pOgg)), true));

    // The device writes silence until the sound starts.
    const auto start = [&](const Samples& written)
    {
        const auto loud = [](std::int16_t v) { return v != 0; };
        return (std::find_if(written.begin(), written.end(), loud) - written.begin()) -
               (std::find_if(loop.begin(), loop.end(), loud) - loop.begin());
    };
    ASSERT_TRUE(WaitFor(
        [&]
        {
            const Samples written = WrittenSamples();
            return static_cast<std::ptrdiff_t>(written.size()) >
                   start(written) + 4 * std::ssize(loop);
        }));
    output.Stop();
    EXPECT_TRUE(pLog->bFreed);
    EXPECT_FALSE(pLog->bFreedWhileReading);
    const int nReads = pLog->nReads;
    const std::uintmax_t nStopped = WrittenSize();
    ASSERT_TRUE(WaitFor([&] { return WrittenSize() > nStopped + 32768; }));
    EXPECT_EQ(pLog->nReads, nReads);

    const Samples written = WrittenSamples();
    const std::size_t nStart = static_cast<std::size_t>(start(written));
    ASSERT_EQ(nStart % 2, 0u) << "channels swapped";
    const std::size_t nEnd =
        static_cast<std::size_t>(written.rend() - std::find_if(written.rbegin(), written.rend(),
                                                               [](auto v) { return v != 0; }));
    ASSERT_GT(nEnd, nStart + 4 * loop.size());
    for (std::size_t i = nStart; i < nEnd; ++i)
        ASSERT_EQ(written[i], loop[(i - nStart) % loop.size()]) << "sample " << i - nStart;
    // Silence from the stop on, but for the device buffer already filled and what the file
    // writer still held back.
    EXPECT_LE(nEnd * 2, nStopped + 16384);
}

TEST_F(SdlDiskAudio, StreamEndsOnceWhenNotLoopedOrWhenNothingFollowsItsRewind)
{
    CSdlSoundOutput output;
    EXPECT_FALSE(output.PlayStream(nullptr, true));
    auto pShapeless = std::make_shared<SourceLog>();
    EXPECT_FALSE(output.PlayStream(std::make_unique<CLoggedSource>(pShapeless, 22050, 0, 0), true));
    EXPECT_TRUE(pShapeless->bFreed);
    EXPECT_FALSE(std::filesystem::exists(m_strFile));

    // The last has no frames at all, like a stream that turned out broken. The device stays
    // open throughout, so its file holds them all; the audio thread stays free to write
    // silence rather than rewinding for ever. The source of another format than the device's
    // goes through the converter, which ends a stream on its own path.
    for (const auto& [nRate, nChannels] : {std::pair{44100, 2}, std::pair{22050, 1}})
    {
        for (const auto& [nFrames, bLoop] :
             {std::pair{700u, false}, std::pair{700u, true}, std::pair{0u, true}})
        {
            auto pLog = std::make_shared<SourceLog>();
            ASSERT_TRUE(output.PlayStream(
                std::make_unique<CLoggedSource>(pLog, nRate, nChannels, nFrames), bLoop));
            const std::uintmax_t nPlayed = WrittenSize();
            ASSERT_TRUE(WaitFor([&] { return WrittenSize() > nPlayed + 65536; }));
            EXPECT_EQ(pLog->nRewinds, bLoop ? 1 : 0) << nRate;
            output.Stop();
        }
        if (nRate == 44100)
        {
            const Samples written = WrittenSamples();
            EXPECT_EQ(std::count(written.begin(), written.end(), 0x1234), 2 * 700 * 2);
        }
    }
}

// Closing a device waits on the GUI thread for it to drain, up to a quarter of a second, so a
// stream after a WAV of another format has to find its own device open.
TEST_F(SdlDiskAudio, StreamAfterAWavOfAnotherFormatPlaysConvertedWithoutClosingADevice)
{
    const std::string strWavFile = m_dir / "wav.raw";
    ::setenv("SDL_DISKAUDIOFILE", strWavFile.c_str(), 1);
    const std::string wavText = EncodeWavPcm16({11025, 1, Samples(701, 3000)});
    const Bytes wav(wavText.begin(), wavText.end());
    CSdlSoundOutput output;
    ASSERT_TRUE(output.Play(wav, true));
    ASSERT_TRUE(WaitFor([&] { return Sounding(WrittenSamples(strWavFile)).second > 4096; }));

    // One second at 22050 Hz mono; the streams' device opens now, on a file of its own.
    ::setenv("SDL_DISKAUDIOFILE", m_strFile.c_str(), 1);
    auto pOnce = std::make_shared<SourceLog>();
    ASSERT_TRUE(
        output.PlayStream(std::make_unique<CLoggedSource>(pOnce, 22050, 1, 22050, -9000), false));
    // The WAV has stopped once PlayStream returns; its unpaced device may have written any
    // amount while the stream's device was opening.
    const std::uintmax_t nWavAtStream = WrittenSize(strWavFile);
    ASSERT_TRUE(WaitFor([&] { return WrittenSize() > 44100 * 4 + 65536; }));
    const auto [nStart, nEnd] = Sounding(WrittenSamples());
    // As long at 44100 Hz stereo, but for what the resampler's filter adds at either end.
    EXPECT_NEAR(static_cast<double>(nEnd - nStart), 44100 * 2, 2 * 1024);
    EXPECT_LE(Sounding(WrittenSamples(strWavFile)).second * 2, nWavAtStream + 16384);

    // A WAV between two streams leaves the streams' device open: the driver would start its
    // file anew on reopening it. Each sound stops the other.
    ASSERT_TRUE(output.Play(wav, true));
    auto pEndless = std::make_shared<SourceLog>();
    ASSERT_TRUE(output.PlayStream(
        std::make_unique<CLoggedSource>(pEndless, 44100, 2, std::size_t{1} << 40), false));
    ASSERT_TRUE(WaitFor([&] { return Sounding(WrittenSamples()).second > nEnd + 8192; }));
    ASSERT_TRUE(output.Play(wav, true));
    EXPECT_TRUE(pEndless->bFreed);
    const std::uintmax_t nStopped = WrittenSize();
    ASSERT_TRUE(WaitFor([&] { return WrittenSize() > nStopped + 32768; }));
    const Samples written = WrittenSamples();
    EXPECT_LT(written[(nStart + nEnd) / 2], 0) << "the first stream's file was started anew";
    EXPECT_LE(Sounding(written).second * 2, nStopped + 16384);
}

// SDL's dummy driver, like any with a single device, refuses a second one.
TEST(OggSound, StreamAndWavTakeTurnsOnADriverWithOneDevice)
{
    const std::string wavText = EncodeWavPcm16({11025, 1, Samples(701, 3000)});
    const Bytes wav(wavText.begin(), wavText.end());
    CSdlSoundOutput output;
    ASSERT_TRUE(output.Play(wav, true));
    auto pLog = std::make_shared<SourceLog>();
    ASSERT_TRUE(output.PlayStream(std::make_unique<CLoggedSource>(pLog, 22050, 1, 1u << 30), true));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pLog->nReads == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GT(pLog->nReads, 0);
    EXPECT_TRUE(output.Play(wav, true));
    EXPECT_TRUE(pLog->bFreed);
}

TEST(WavPcm, DecodesWhatSdlPlaysTo16BitWithoutADevice)
{
    ::setenv("SDL_AUDIODRIVER", "none", 1);
    PcmSound sound;
    ASSERT_TRUE(DecodeWavToPcm16(MakeWavPcm8(11025, {0x00, 0x80, 0xFF, 0x81}), sound));
    EXPECT_EQ(std::tie(sound.nRate, sound.nChannels), std::tuple(11025, 1));
    const Samples widened = {-32768, 0, 32512, 256};
    ASSERT_EQ(sound.samples.size(), widened.size());
    for (std::size_t i = 0; i < widened.size(); ++i)
        EXPECT_NEAR(sound.samples[i], widened[i], 1) << i;

    const PcmSound stereo{44100, 2, {1, -2, 3, 32767, -32768, 0}};
    const std::string wav = EncodeWavPcm16(stereo);
    ASSERT_TRUE(DecodeWavToPcm16(Bytes(wav.begin(), wav.end()), sound));
    EXPECT_EQ(std::tie(sound.nRate, sound.nChannels, sound.samples),
              std::tie(stereo.nRate, stereo.nChannels, stereo.samples));

    auto mp3 = MakeWavPcm8(11025, Bytes(100, 0x20));
    mp3[20] = 0x55; // format tag: MPEG layer 3
    EXPECT_EQ(DecodeWavToPcm16(mp3, sound).Text().rfind("not a sound SDL can decode", 0), 0u);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}
} // namespace
