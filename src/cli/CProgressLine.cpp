#include "CProgressLine.h"

#include <unistd.h>

#include <cstdio>

namespace
{
constexpr auto REDRAW_INTERVAL = std::chrono::milliseconds(100);
// Carriage return, then erase to the end of the line.
constexpr const char* ERASE_LINE = "\r\033[K";

std::string FormatBytes(double dBytes)
{
    static const char* const units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    int nUnit = 0;
    while (dBytes >= 1024.0 && nUnit < 4)
    {
        dBytes /= 1024.0;
        ++nUnit;
    }
    char text[32];
    std::snprintf(text, sizeof text, nUnit == 0 ? "%.0f %s" : "%.1f %s", dBytes, units[nUnit]);
    return text;
}
} // namespace

CProgressLine::CProgressLine(std::ostream& out, bool bEnabled, int nTotalFiles)
    : m_out(out), m_bEnabled(bEnabled), m_nTotalFiles(nTotalFiles), m_start(m_now())
{
}

CProgressLine::~CProgressLine()
{
    Clear();
}

bool CProgressLine::StandardErrorIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

std::string CProgressLine::Format(int nFilesDone, int nTotalFiles, std::int64_t nBytes,
                                  double dSeconds)
{
    std::string line = std::to_string(nFilesDone) + "/" + std::to_string(nTotalFiles) + " files, " +
                       FormatBytes(static_cast<double>(nBytes));
    if (dSeconds > 0)
        line += ", " + FormatBytes(static_cast<double>(nBytes) / dSeconds) + "/s";
    return line;
}

void CProgressLine::SetClock(std::function<Clock::time_point()> now)
{
    m_now = std::move(now);
    m_start = m_now();
}

void CProgressLine::AddBytes(std::int64_t nBytes)
{
    m_nBytes += nBytes;
    Update();
}

void CProgressLine::FileDone()
{
    ++m_nFilesDone;
    Update();
}

void CProgressLine::Clear()
{
    if (!m_bShown)
        return;
    m_out << ERASE_LINE << std::flush;
    m_bShown = false;
}

void CProgressLine::Update()
{
    if (!m_bEnabled)
        return;
    const Clock::time_point now = m_now();
    if (m_bDrawnOnce && now - m_lastDrawn < REDRAW_INTERVAL)
        return;
    if (!m_bDrawnOnce && now - m_start < REDRAW_INTERVAL)
        return; // a quick extraction never shows the line
    m_lastDrawn = now;
    m_bDrawnOnce = true;
    const double dSeconds = std::chrono::duration<double>(now - m_start).count();
    m_out << ERASE_LINE << Format(m_nFilesDone, m_nTotalFiles, m_nBytes, dSeconds) << std::flush;
    m_bShown = true;
}
