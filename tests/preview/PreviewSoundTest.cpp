#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <tuple>

#include <QApplication>

#include "CAutoPreview.h"
#include "CORBISTAVDoc.h"
#include "CSdlSoundOutput.h"
#include "Lz41Builder.h"
#include "MediaBuilders.h"
#include "SdlDiskAudio.h"
#include "SoundLoop.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace
{
using Bytes = std::vector<std::uint8_t>;

TEST(SoundLoopRule, MusicByDirectoryNameOrArchiveUnderEachLoopMode)
{
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {"\\DATA\\Music", "theme.wav", "/fs2/data.vp", true},
        {"\\data\\music\\extra", "theme.wav", "/fs2/data.vp", false},
        {"\\data\\voice", "forestday.wav", "/fs2/data.vp", true},
        {"\\data\\voice", "ForestDay.wav", "/fs2/data.vp", false},
        {"", "Lenele (Sewers).wav", "/summoner/sounds.vpp", true},
        {"", "hail.wav", "/RF/oldMUSIC.VPP.bak", true},
        {"\\data\\voice", "hail.wav", "/fs2/data.vp", false},
    };
    for (const auto& [szDir, szName, szArchive, bMusic] : cases)
        for (int nMode : {0, 1, 2, 3})
            EXPECT_EQ(ShouldLoopSound(nMode, szDir, szName, szArchive),
                      nMode == 2 || (nMode == 1 && bMusic))
                << szDir << " " << szName << " " << szArchive << " mode " << nMode;
}

// The stretches of an unsigned 8-bit stream that are not silence (0x80), in order.
std::vector<Bytes> SoundRuns(const Bytes& stream)
{
    std::vector<Bytes> runs;
    for (std::size_t i = 0; i < stream.size(); ++i)
    {
        if (stream[i] == 0x80)
            continue;
        if (i == 0 || stream[i - 1] == 0x80)
            runs.emplace_back();
        runs.back().push_back(stream[i]);
    }
    return runs;
}

// What the device played, as the 8-bit bytes of the WAV tests.
class SdlDiskOutput : public SdlDiskAudio
{
protected:
    // The head of the file: an open device keeps writing silence.
    Bytes Written() const
    {
        Bytes bytes(std::min<std::uintmax_t>(WrittenSize(), 64u << 20));
        std::ifstream in(m_strFile, std::ios::binary);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        return bytes;
    }
    bool WaitFor(const std::function<bool(const Bytes&)>& done) const
    {
        return SdlDiskAudio::WaitFor([&] { return done(Written()); });
    }
};

TEST_F(SdlDiskOutput, LoopsWithoutGapStopsAtOnceThenPlaysAnotherFormatOnce)
{
    Bytes samples(701); // an odd length puts the loop seams inside the device's buffers
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(i % 2 ? 0x81 + i % 120 : 0x7F - i % 110);
    {
        CSdlSoundOutput output;
        ASSERT_TRUE(output.Play(MakeWavPcm8(11025, samples), true));
        ASSERT_TRUE(WaitFor(
            [&](const Bytes& s)
            {
                const auto runs = SoundRuns(s);
                return runs.size() == 1 && runs[0].size() > 3 * samples.size();
            }));
        output.Stop();
        const std::uintmax_t nStopped = WrittenSize();
        ASSERT_TRUE(WaitFor([&](const Bytes&) { return WrittenSize() > nStopped + 32768; }));
        const Bytes stream = Written();
        const auto runs = SoundRuns(stream);
        ASSERT_EQ(runs.size(), 1u);
        for (std::size_t i = 0; i < runs[0].size(); ++i)
            ASSERT_EQ(runs[0][i], samples[i % samples.size()]) << "byte " << i;
        // Silence from the stop on, but for the device buffer already filled and what the
        // file writer still held back.
        const auto lastSound =
            std::find_if(stream.rbegin(), stream.rend(), [](std::uint8_t b) { return b != 0x80; });
        EXPECT_LE(static_cast<std::uintmax_t>(stream.rend() - lastSound), nStopped + 16384);

        // Another rate opens the device anew (the driver starts a new file).
        ASSERT_TRUE(output.Play(MakeWavPcm8(22050, samples), false));
        ASSERT_TRUE(WaitFor(
            [&](const Bytes& s)
            {
                const auto runs = SoundRuns(s);
                return runs.size() == 1 && runs[0].size() == samples.size() && s.back() == 0x80;
            }));
    }
    EXPECT_EQ(SoundRuns(Written()), std::vector<Bytes>{samples});
}

TEST_F(SdlDiskOutput, NothingPlaysWhatSdlCannotDecode)
{
    auto mp3 = MakeWavPcm8(11025, Bytes(100, 0x20));
    mp3[20] = 0x55; // format tag: MPEG layer 3
    const std::string text = "not a sound";
    {
        CSdlSoundOutput output;
        EXPECT_FALSE(output.Play(Bytes(text.begin(), text.end()), false));
        EXPECT_FALSE(output.Play(mp3, false));
        // Nothing to loop over: refused rather than spinning on the audio thread.
        EXPECT_FALSE(output.Play(MakeWavPcm8(11025, {}), true));
    }
    EXPECT_FALSE(std::filesystem::exists(m_strFile));
}

// What the pane asks of its output, kept beyond the output's life.
struct CRecordingSoundOutput : ISoundOutput
{
    std::vector<std::pair<Bytes, bool>>& plays;
    std::vector<std::size_t>& heldAtStop; // size of the pane's image when a stop was asked
    const CAutoPreview* pPane = nullptr;
    std::vector<bool>* pStreamPlays = nullptr; // the loop flag of each stream played

    CRecordingSoundOutput(std::vector<std::pair<Bytes, bool>>& p, std::vector<std::size_t>& h)
        : plays(p), heldAtStop(h)
    {
    }
    bool Play(std::span<const std::uint8_t> image, bool bLoop) override
    {
        plays.emplace_back(Bytes(image.begin(), image.end()), bLoop);
        return true;
    }
    bool PlayStream(std::unique_ptr<IPcmSource> pSource, bool bLoop) override
    {
        if (pStreamPlays && pSource)
            pStreamPlays->push_back(bLoop);
        return pSource != nullptr;
    }
    void Stop() override { heldAtStop.push_back(pPane->m_pData.size()); }
};

TEST(PreviewSound, PlaysTheEntryLoopedByModeStopsBeforeFreeingAndNeedsNoDevice)
{
    const Bytes theme = MakeWavPcm8(11025, Bytes(300, 0x40));
    const Bytes hail = MakeWavPcm8(22050, Bytes(500, 0xA0));
    TempDir dir;
    VpBuilder()
        .Dir("data")
        .Dir("music")
        .File("theme.wav", theme)
        .Up()
        .File("hail.wav", hail)
        .File("packed.wav", Lz41Builder(std::string(hail.begin(), hail.end()), 256).Bytes())
        .Up()
        .WriteTo(dir / "sounds.vp");
    CORBISTAVDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(dir / "sounds.vp"), CORBISTAVDoc::OpenResult::Read);
    AppSettings settings; // sounds play on selection, only music loops
    std::vector<std::pair<Bytes, bool>> plays;
    std::vector<std::size_t> heldAtStop;
    CAutoPreview pane(doc, settings);
    auto output = std::make_unique<CRecordingSoundOutput>(plays, heldAtStop);
    output->pPane = &pane;
    pane.SetSoundOutput(std::move(output));

    pane.PreviewEntry(doc.m_files[0], false);
    pane.PreviewEntry(doc.m_files[1], false);
    EXPECT_EQ(plays, (std::vector<std::pair<Bytes, bool>>{{theme, true}, {hail, false}}));
    EXPECT_EQ(heldAtStop.back(), theme.size());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    ArchiveFile damaged = doc.m_files[1];
    damaged.nSize += 4096; // past the end of the archive
    pane.PreviewEntry(damaged, true);
    EXPECT_EQ(heldAtStop.back(), hail.size());
    EXPECT_EQ(plays.size(), 2u);
    EXPECT_EQ(pane.m_bWavLoaded + pane.m_bPreviewActive, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    pane.PreviewEntry(doc.m_files[2], false);
    EXPECT_EQ(plays.back(), (std::pair<Bytes, bool>{hail, false})); // decompressed

    // Without an audio device nothing is heard, yet the pane shows the sound as playing.
    ::setenv("SDL_AUDIODRIVER", "none", 1);
    pane.SetSoundOutput(nullptr);
    pane.PreviewEntry(doc.m_files[1], false);
    EXPECT_EQ(pane.m_bWavLoaded + pane.m_bPreviewActive, 2);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}
} // namespace
