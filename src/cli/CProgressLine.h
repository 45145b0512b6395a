#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

// One line on a terminal that shows how far a long extraction has come: files done of the
// total, bytes written and the rate. Redrawn at most ten times a second and cleared at the
// end; disabled (not a terminal) it writes nothing at all.
class CProgressLine
{
public:
    using Clock = std::chrono::steady_clock;

    CProgressLine(std::ostream& out, bool bEnabled, int nTotalFiles);
    ~CProgressLine();
    CProgressLine(const CProgressLine&) = delete;
    CProgressLine& operator=(const CProgressLine&) = delete;

    // Whether standard error is a terminal, where the line belongs.
    static bool StandardErrorIsTerminal();

    void AddBytes(std::int64_t nBytes);
    void FileDone();
    // Takes the line away, so that a message can be printed; the next update redraws it.
    void Clear();

    static std::string Format(int nFilesDone, int nTotalFiles, std::int64_t nBytes,
                              double dSeconds);
    // Tests step time by hand.
    void SetClock(std::function<Clock::time_point()> now);

private:
    void Update();

    std::ostream& m_out;
    bool m_bEnabled;
    int m_nTotalFiles;
    int m_nFilesDone = 0;
    std::int64_t m_nBytes = 0;
    std::function<Clock::time_point()> m_now = [] { return Clock::now(); };
    Clock::time_point m_start;
    Clock::time_point m_lastDrawn;
    bool m_bDrawnOnce = false;
    bool m_bShown = false;
};
