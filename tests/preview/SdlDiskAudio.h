#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"

// SDL's disk driver writes what a device plays into a file, unpaced. Each device opens the file
// SDL_DISKAUDIOFILE names when the device opens, so two devices open at once need two names.
class SdlDiskAudio : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", m_strFile.c_str(), 1);
        ::setenv("SDL_DISKAUDIODELAY", "0", 1);
    }
    void TearDown() override { ::setenv("SDL_AUDIODRIVER", "dummy", 1); }

    std::uintmax_t WrittenSize() const { return WrittenSize(m_strFile); }
    static std::uintmax_t WrittenSize(const std::string& strFile)
    {
        std::error_code ec;
        const std::uintmax_t n = std::filesystem::file_size(strFile, ec);
        return ec ? 0 : n;
    }
    std::vector<std::int16_t> WrittenSamples() const { return WrittenSamples(m_strFile); }
    // The head of the file as 16-bit samples: an open device keeps writing silence.
    static std::vector<std::int16_t> WrittenSamples(const std::string& strFile)
    {
        std::vector<std::int16_t> samples(
            std::min<std::uintmax_t>(WrittenSize(strFile), 64u << 20) / 2);
        std::ifstream in(strFile, std::ios::binary);
        in.read(reinterpret_cast<char*>(samples.data()),
                static_cast<std::streamsize>(samples.size() * 2));
        samples.resize(static_cast<std::size_t>(in.gcount()) / 2);
        return samples;
    }
    static bool WaitFor(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return done();
    }

    TempDir m_dir;
    std::string m_strFile = m_dir / "device.raw";
};
