#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "OggBuilder.h"
#include "OggDecoder.h"
#include "WavEncoder.h"

namespace
{
using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::int16_t>;

// Interleaved sines, one frequency per channel (0 Hz for a silent channel).
Samples Sines(int nRate, const std::vector<double>& frequencies, std::size_t nFrames)
{
    Samples samples;
    for (std::size_t i = 0; i < nFrames; ++i)
        for (double dHz : frequencies)
            samples.push_back(static_cast<std::int16_t>(
                std::lround(12000 * std::sin(2 * std::numbers::pi * dHz * i / nRate))));
    return samples;
}

// Root mean square of one channel of a, or of its difference from b.
double Rms(const Samples& a, const Samples& b, int nChannels, int nChannel)
{
    double dSum = 0;
    for (std::size_t i = static_cast<std::size_t>(nChannel); i < a.size(); i += nChannels)
        dSum += std::pow(a[i] - (b.empty() ? 0 : b[i]), 2);
    return std::sqrt(dSum * nChannels / static_cast<double>(a.size()));
}

Samples ReadAll(COggSource& source, std::size_t nChunk)
{
    Samples all, chunk(nChunk * static_cast<std::size_t>(source.Channels()));
    while (const std::size_t n = source.Read(chunk.data(), nChunk))
        all.insert(all.end(), chunk.begin(),
                   chunk.begin() + static_cast<long>(n * source.Channels()));
    return all;
}

TEST(OggDecoder, DecodesTheEncodedRateChannelsLengthAndWaveformWithinTheLimit)
{
    for (const auto& frequencies : {std::vector{440.0}, std::vector{440.0, 1250.0}})
    {
        const int nChannels = static_cast<int>(frequencies.size());
        const Samples input = Sines(44100, frequencies, 12345);
        const Bytes ogg = MakeOgg(44100, nChannels, input);
        PcmSound sound;
        ASSERT_TRUE(DecodeOggToPcm16(ogg, sound, input.size() * 2)) << nChannels;
        EXPECT_EQ(sound.nRate, 44100);
        EXPECT_EQ(sound.nChannels, nChannels);
        ASSERT_EQ(sound.samples.size(), input.size());
        // Lossy, yet within 2 % of the amplitude; the other channel's tone would be far off.
        for (int c = 0; c < nChannels; ++c)
            EXPECT_LT(Rms(sound.samples, input, nChannels, c), 240) << nChannels << " " << c;
        EXPECT_EQ(DecodeOggToPcm16(ogg, sound, input.size() * 2 - 2).Text(),
                  "the sound decodes to more than " + std::to_string(input.size() * 2 - 2) +
                      " bytes");
    }
}

TEST(OggDecoder, StreamsInAnyReadSizeAndRewindsToTheSamePcm)
{
    const Bytes ogg = MakeOgg(44100, 2, Sines(44100, {300, 500}, 20011));
    PcmSound whole;
    ASSERT_TRUE(DecodeOggToPcm16(ogg, whole));
    std::unique_ptr<COggSource> source;
    ASSERT_TRUE(COggSource::Open(ogg, source));
    EXPECT_EQ(ReadAll(*source, 1), whole.samples);
    // Halfway or at the end, a rewind starts from the first frame: a loop has no seam.
    ASSERT_TRUE(source->Rewind());
    Samples head(2 * 777);
    ASSERT_EQ(source->Read(head.data(), 777), 777u);
    ASSERT_TRUE(source->Rewind());
    EXPECT_EQ(ReadAll(*source, 4097), whole.samples);
}

TEST(OggDecoder, SurroundChannelsComeInWavOrder)
{
    // 7.1 in Vorbis order: front left, centre, front right, side left, side right, rear left,
    // rear right, LFE. (libvorbisenc 1.3.7 leaks when it encodes 5.1, so 7.1 stands in.)
    PcmSound sound;
    ASSERT_TRUE(DecodeOggToPcm16(
        MakeOgg(48000, 8, Sines(48000, {0, 1000, 0, 0, 0, 0, 0, 60}, 9600)), sound));
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(Rms(sound.samples, {}, 8, c) > 4000, c == 2 || c == 3) << "channel " << c;
}

TEST(OggDecoder, RefusesWhatIsNoVorbisStreamOrIsCutInItsHeaders)
{
    // Two seconds of noise make several pages of audio behind the headers.
    Samples noise(44100);
    std::uint32_t nSeed = 1;
    for (std::int16_t& sample : noise)
        sample = static_cast<std::int16_t>((nSeed = nSeed * 1664525 + 1013904223) >> 20);
    const Bytes ogg = MakeOgg(22050, 1, noise);
    const std::string text = "OggS is where it would begin";
    for (const Bytes& bytes :
         {Bytes{}, Bytes(text.begin(), text.end()), Bytes(ogg.begin(), ogg.begin() + 58),
          Bytes(ogg.begin(), ogg.begin() + 1000)})
    {
        std::unique_ptr<COggSource> source;
        EXPECT_EQ(COggSource::Open(bytes, source).Text(), "not an OGG Vorbis stream")
            << bytes.size();
        EXPECT_FALSE(source);
    }
    // Cut inside its audio, the stream plays what came before the cut.
    PcmSound whole, cut;
    ASSERT_TRUE(DecodeOggToPcm16(ogg, whole));
    ASSERT_TRUE(DecodeOggToPcm16(Bytes(ogg.begin(), ogg.begin() + ogg.size() * 3 / 4), cut));
    ASSERT_GT(cut.samples.size(), whole.samples.size() / 4);
    ASSERT_LT(cut.samples.size(), whole.samples.size());
    EXPECT_TRUE(std::equal(cut.samples.begin(), cut.samples.end() - 4096, whole.samples.begin()));
}

TEST(OggDecoder, ChainedStreamPlaysOnAcrossLinksOfOneFormatAndEndsAtAnother)
{
    Bytes chain = MakeOgg(22050, 1, Sines(22050, {440}, 5000), 1);
    const Bytes same = MakeOgg(22050, 1, Sines(22050, {880}, 3000), 2);
    const Bytes other = MakeOgg(44100, 2, Sines(44100, {880, 220}, 3000), 3);
    chain.insert(chain.end(), same.begin(), same.end());
    chain.insert(chain.end(), other.begin(), other.end());
    std::unique_ptr<COggSource> source;
    ASSERT_TRUE(COggSource::Open(chain, source));
    EXPECT_EQ(source->Rate(), 22050);
    EXPECT_EQ(source->Channels(), 1);
    EXPECT_EQ(ReadAll(*source, 4096).size(), 8000u);
    EXPECT_FALSE(source->Damaged());
    ASSERT_TRUE(source->Rewind());
    EXPECT_EQ(ReadAll(*source, 4096).size(), 8000u);
}

TEST(WavEncoder, WritesA16BitPcmRiffFileOfLittleEndianSamples)
{
    const unsigned char expected[] = {
        'R', 'I', 'F', 'F', 44, 0, 0,    0,    'W', 'A', 'V',  'E',  'f',  'm',  't',  ' ', 16, 0,
        0,   0,   1,   0,   2,  0, 0x22, 0x56, 0,   0,   0x88, 0x58, 0x01, 0,    4,    0,   16, 0,
        'd', 'a', 't', 'a', 8,  0, 0,    0,    1,   0,   0xFE, 0xFF, 0x34, 0x12, 0x00, 0x80};
    EXPECT_EQ(EncodeWavPcm16({22050, 2, {1, -2, 0x1234, -32768}}),
              std::string(std::begin(expected), std::end(expected)));
}
} // namespace
