#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QGuiApplication>

#include "CAutoPreview.h"
#include "CORBISTAVDoc.h"
#include "CSdlSoundOutput.h"
#include "MediaBuilders.h"
#include "Settings.h"
#include "SoundLoop.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace
{
using Bytes = std::vector<std::uint8_t>;

TEST(SoundLoopRule, MusicByDirectoryNameOrArchiveAndTheThreeModes)
{
    struct Case
    {
        const char* szDir;
        const char* szName;
        const char* szArchive;
        bool bMusic;
    };
    const Case cases[] = {
        {"\\data\\music", "theme.wav", "/games/fs2/data.vp", true},
        {"\\DATA\\Music", "theme.wav", "/games/fs2/data.vp", true},
        {"\\data\\music\\extra", "theme.wav", "/games/fs2/data.vp", false},
        {"\\data\\voice", "forestday.wav", "/games/fs2/data.vp", true},
        {"\\data\\voice", "ForestDay.wav", "/games/fs2/data.vp", false},
        {"", "Lenele (Sewers).wav", "/games/summoner/sounds.vpp", true},
        {"", "lenele (sewers).wav", "/games/summoner/sounds.vpp", false},
        {"", "hail.wav", "/games/RF/MUSIC.VPP", true},
        {"", "hail.wav", "/games/rf/oldmusic.vpp.bak", true},
        {"\\data\\voice", "hail.wav", "/games/fs2/data.vp", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.szDir) + " " + c.szName + " " + c.szArchive);
        EXPECT_EQ(IsMusicSound(c.szDir, c.szName, c.szArchive), c.bMusic);
        EXPECT_FALSE(ShouldLoopSound(SOUND_LOOP_NEVER, c.szDir, c.szName, c.szArchive));
        EXPECT_EQ(ShouldLoopSound(SOUND_LOOP_MUSIC_ONLY, c.szDir, c.szName, c.szArchive), c.bMusic);
        EXPECT_TRUE(ShouldLoopSound(SOUND_LOOP_ALWAYS, c.szDir, c.szName, c.szArchive));
        EXPECT_FALSE(ShouldLoopSound(3, c.szDir, c.szName, c.szArchive));
        EXPECT_FALSE(ShouldLoopSound(-1, c.szDir, c.szName, c.szArchive));
    }
}

// A stretch of sound in the written stream, between silent frames.
struct SoundRun
{
    std::size_t nStart = 0;
    Bytes bytes;
};

std::vector<SoundRun> SoundRuns(const Bytes& stream, std::size_t nFrame, std::uint8_t bySilence)
{
    std::vector<SoundRun> runs;
    bool bInRun = false;
    for (std::size_t i = 0; i + nFrame <= stream.size(); i += nFrame)
    {
        bool bSilent = true;
        for (std::size_t k = 0; k < nFrame; ++k)
            bSilent = bSilent && stream[i + k] == bySilence;
        if (bSilent)
        {
            bInRun = false;
            continue;
        }
        if (!bInRun)
            runs.push_back({i, {}});
        bInRun = true;
        runs.back().bytes.insert(runs.back().bytes.end(), stream.begin() + i,
                                 stream.begin() + i + nFrame);
    }
    return runs;
}

// The sound data of a PCM image as SDL hands it over: everything after the 44-byte header.
Bytes PcmOf(const std::vector<unsigned char>& wav, std::size_t nDataBytes)
{
    return Bytes(wav.begin() + 44, wav.begin() + 44 + nDataBytes);
}

// SDL's disk driver writes what the device plays into a file, as fast as it can.
class SdlDiskOutput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", m_strFile.c_str(), 1);
        ::setenv("SDL_DISKAUDIODELAY", "0", 1);
    }
    void TearDown() override { ::setenv("SDL_AUDIODRIVER", "dummy", 1); }

    std::uintmax_t WrittenSize() const
    {
        std::error_code ec;
        const std::uintmax_t n = std::filesystem::file_size(m_strFile, ec);
        return ec ? 0 : n;
    }
    // The device keeps writing silence while the sound is open; what the tests look at lies
    // well within the first megabytes.
    Bytes Written() const
    {
        Bytes bytes(std::min<std::uintmax_t>(WrittenSize(), 4u << 20));
        std::ifstream in(m_strFile, std::ios::binary);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        return bytes;
    }
    // Polls what has been written so far; false after 10 seconds.
    bool WaitFor(const std::function<bool(const Bytes&)>& done) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline)
        {
            if (done(Written()))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    bool WaitForGrowth(std::uintmax_t nBytes) const
    {
        const std::uintmax_t nTarget = WrittenSize() + nBytes;
        return WaitFor([&](const Bytes&) { return WrittenSize() >= nTarget; });
    }

    TempDir m_dir;
    std::string m_strFile = m_dir / "device.raw";
};

TEST_F(SdlDiskOutput, PlaysOnceThenOnly8BitSilence)
{
    Bytes samples(3001);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(i % 2 ? 0x10 + i % 97 : 0xF0 - i % 89);
    const auto wav = MakeWavPcm8(11025, samples);
    {
        CSdlSoundOutput output;
        // A sound of another format first: the device must be opened anew for the next.
        ASSERT_TRUE(output.Play(MakeWavPcm16(22050, 2, std::vector<std::int16_t>(800, 99)), true));
        ASSERT_TRUE(WaitForGrowth(4096));
        ASSERT_TRUE(output.Play(wav, false));
        ASSERT_TRUE(WaitFor(
            [&](const Bytes& s)
            {
                const auto runs = SoundRuns(s, 1, 0x80);
                return !runs.empty() && s.size() > runs[0].nStart + 4 * samples.size();
            }));
    }
    // The sound once, and silence (0x80 for unsigned 8-bit) around it.
    const auto runs = SoundRuns(Written(), 1, 0x80);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].bytes, samples);
}

TEST_F(SdlDiskOutput, LoopsWithoutGapStopsAtOnceAndPlaysAgainFromTheStart)
{
    // 700 stereo frames, none silent, so the loop seam falls inside a device buffer.
    std::vector<std::int16_t> samples;
    for (int i = 0; i < 700; ++i)
    {
        samples.push_back(static_cast<std::int16_t>(1000 + i * 37));
        samples.push_back(static_cast<std::int16_t>(-1000 - i * 11));
    }
    const auto wav = MakeWavPcm16(8000, 2, samples);
    const Bytes pcm = PcmOf(wav, samples.size() * 2);
    const std::size_t nFrame = 4;

    std::uintmax_t nStoppedAt = 0;
    {
        CSdlSoundOutput output;
        ASSERT_TRUE(output.Play(wav, true));
        ASSERT_TRUE(WaitFor(
            [&](const Bytes& s)
            {
                const auto runs = SoundRuns(s, nFrame, 0);
                return !runs.empty() && runs[0].bytes.size() > 3 * pcm.size();
            }));
        output.Stop();
        nStoppedAt = WrittenSize();
        ASSERT_TRUE(WaitForGrowth(64 * 1024));
        ASSERT_TRUE(output.Play(wav, false));
        ASSERT_TRUE(WaitFor([&](const Bytes& s) { return SoundRuns(s, nFrame, 0).size() == 2; }));
        ASSERT_TRUE(WaitForGrowth(64 * 1024));
    }

    const auto runs = SoundRuns(Written(), nFrame, 0);
    ASSERT_EQ(runs.size(), 2u);
    // Repeated frame for frame across the seams until the stop.
    const Bytes& looped = runs[0].bytes;
    ASSERT_GT(looped.size(), 3 * pcm.size());
    for (std::size_t i = 0; i < looped.size(); ++i)
        ASSERT_EQ(looped[i], pcm[i % pcm.size()]) << "byte " << i;
    // Once stopped, at most the buffer already handed to the device still sounds; the
    // file lags behind by the writer's buffering, so allow a generous margin.
    EXPECT_LE(runs[0].nStart + looped.size(), nStoppedAt + 16 * 1024);
    // Played again on the open device: from the first frame, once.
    EXPECT_EQ(runs[1].bytes, pcm);
}

TEST_F(SdlDiskOutput, NothingPlaysWhatSdlCannotDecodeOrWhenThereIsNoDevice)
{
    const auto good = MakeWavPcm8(11025, Bytes(100, 0x20));
    auto mp3 = good;
    mp3[20] = 0x55; // format tag: MPEG layer 3
    const auto empty = MakeWavPcm8(11025, {});
    const std::string text = "not a sound";
    {
        CSdlSoundOutput output;
        EXPECT_FALSE(output.Play(Bytes(text.begin(), text.end()), false));
        EXPECT_FALSE(output.Play(mp3, false));
        // Nothing to loop over: refused rather than spinning on the audio thread.
        EXPECT_FALSE(output.Play(empty, true));
        output.Stop();
    }
    EXPECT_FALSE(std::filesystem::exists(m_strFile));

    ::setenv("SDL_AUDIODRIVER", "none", 1);
    CSdlSoundOutput output;
    EXPECT_FALSE(output.Play(good, true));
    output.Stop();
}

// Records what the pane asks of its sound output, outliving the output the pane owns.
struct SoundLog
{
    struct Play
    {
        Bytes image;
        bool bLoop;
    };
    std::vector<Play> plays;
    std::vector<std::size_t> heldAtStop; // the pane's image size when each stop was asked
    const CAutoPreview* pPane = nullptr;
};

class CRecordingSoundOutput : public ISoundOutput
{
public:
    explicit CRecordingSoundOutput(SoundLog& log) : m_log(log) {}
    bool Play(std::span<const std::uint8_t> image, bool bLoop) override
    {
        m_log.plays.push_back({Bytes(image.begin(), image.end()), bLoop});
        return true;
    }
    void Stop() override { m_log.heldAtStop.push_back(m_log.pPane->m_pData.size()); }

private:
    SoundLog& m_log;
};

class PreviewSound : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_theme = MakeWavPcm8(11025, Bytes(300, 0x40));
        m_hail = MakeWavPcm8(22050, Bytes(500, 0xA0));
        VpBuilder()
            .Dir("data")
            .Dir("music")
            .File("theme.wav", m_theme)
            .Up()
            .Dir("voice")
            .File("hail.wav", m_hail)
            .Up()
            .Up()
            .WriteTo(m_dir / "sounds.vp");
        ASSERT_EQ(m_doc.OnOpenDocument(m_dir / "sounds.vp"), CORBISTAVDoc::OpenResult::Read);
        m_pPane = std::make_unique<CAutoPreview>(m_doc, m_settings);
        m_pPane->SetSoundOutput(std::make_unique<CRecordingSoundOutput>(m_log));
        m_log.pPane = m_pPane.get();
    }

    const ArchiveFile& Entry(const std::string& name) const
    {
        for (int i = 0; i < m_doc.m_nFileCount; ++i)
            if (m_doc.m_files[i].strName == name)
                return m_doc.m_files[i];
        ADD_FAILURE() << "no entry " << name;
        return m_doc.m_files[0];
    }

    TempDir m_dir;
    CORBISTAVDoc m_doc;
    AppSettings m_settings;
    SoundLog m_log;
    std::unique_ptr<CAutoPreview> m_pPane;
    std::vector<unsigned char> m_theme, m_hail;
};

TEST_F(PreviewSound, PlaysTheEntryBytesAndStopsBeforeFreeingThem)
{
    m_settings.m_nSoundAutoRepeatWAV = SOUND_LOOP_MUSIC_ONLY;
    m_pPane->PreviewEntry(Entry("theme.wav"), false);
    ASSERT_EQ(m_log.plays.size(), 1u);
    EXPECT_EQ(m_log.plays[0].image, Bytes(m_theme.begin(), m_theme.end()));
    EXPECT_TRUE(m_log.plays[0].bLoop);
    EXPECT_EQ(m_pPane->m_bWavLoaded, 1);
    EXPECT_EQ(m_pPane->m_bPreviewActive, 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // The next selection silences the sound while its image is still held.
    m_pPane->PreviewEntry(Entry("hail.wav"), false);
    EXPECT_EQ(m_log.heldAtStop.back(), m_theme.size());
    ASSERT_EQ(m_log.plays.size(), 2u);
    EXPECT_EQ(m_log.plays[1].image, Bytes(m_hail.begin(), m_hail.end()));
    EXPECT_FALSE(m_log.plays[1].bLoop);

    m_pPane->StopPreview(true);
    EXPECT_EQ(m_log.heldAtStop.back(), m_hail.size());
    EXPECT_TRUE(m_pPane->m_pData.empty());
    EXPECT_EQ(m_pPane->m_bWavLoaded, 0);
    EXPECT_EQ(m_pPane->m_bPreviewActive, 0);

    // The loop mode as set; the automatic play only when switched on, Play/Preview always.
    m_settings.m_nSoundAutoRepeatWAV = SOUND_LOOP_ALWAYS;
    m_settings.m_bSoundAutoPlayWAV = 0;
    m_pPane->PreviewEntry(Entry("hail.wav"), false);
    EXPECT_EQ(m_log.plays.size(), 2u);
    m_pPane->PreviewEntry(Entry("hail.wav"), true);
    ASSERT_EQ(m_log.plays.size(), 3u);
    EXPECT_TRUE(m_log.plays[2].bLoop);
    m_settings.m_nSoundAutoRepeatWAV = SOUND_LOOP_NEVER;
    m_pPane->PreviewEntry(Entry("theme.wav"), true);
    ASSERT_EQ(m_log.plays.size(), 4u);
    EXPECT_FALSE(m_log.plays[3].bLoop);

    // Closing the pane stops the sound before the image goes.
    m_pPane.reset();
    EXPECT_EQ(m_log.heldAtStop.back(), m_theme.size());
}

TEST_F(PreviewSound, DamagedEntryPlaysNothing)
{
    ArchiveFile damaged = Entry("hail.wav");
    damaged.nSize += 4096; // runs past the end of the archive
    m_pPane->PreviewEntry(damaged, true);
    EXPECT_TRUE(m_log.plays.empty());
    EXPECT_EQ(m_pPane->m_bWavLoaded, 0);
    EXPECT_EQ(m_pPane->m_bPreviewActive, 0);
    EXPECT_TRUE(m_pPane->m_pData.empty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
} // namespace
