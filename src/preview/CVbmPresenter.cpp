#include "CVbmPresenter.h"

#include <new>

#include "AniDecoder.h"
#include "CPreviewViewer.h"

CVbmPresenter::CVbmPresenter(const PresenterHost& host) : m_host(host)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { NextFrame(); });
}

Result CVbmPresenter::Load(std::vector<std::uint8_t> bytes, const EntrySource&)
{
    Stop();
    try
    {
        if (Result r = DecodeVbm(bytes, m_vbm); !r)
            return r;
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("not enough memory for the bitmap");
    }
    m_bAlphaInverted = VbmAlphaInvertedByDefault(m_vbm);
    if (!ShowFrame(0))
    {
        Stop();
        return Result::Fail("the first frame does not decode");
    }
    if (m_vbm.nFrameCount > 1)
        m_timer.start(AniFrameInterval(static_cast<std::int32_t>(m_vbm.nFramesPerSecond)));
    return Result::Ok();
}

void CVbmPresenter::Stop()
{
    m_timer.stop();
    m_vbm = VbmAnimation();
    m_frame = RgbaPicture();
    m_nFrame = 0;
}

bool CVbmPresenter::ShowFrame(int nFrame)
{
    RgbaPicture frame;
    try
    {
        if (!VbmFrameRgba(m_vbm, nFrame, 0, m_bAlphaInverted, frame))
            return false;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    m_frame = std::move(frame);
    m_nFrame = nFrame;
    return true;
}

void CVbmPresenter::NextFrame()
{
    if (IsEmpty() || m_vbm.nFrameCount < 1)
        return;
    if (ShowFrame((m_nFrame + 1) % m_vbm.nFrameCount) && m_host.changed)
        m_host.changed();
}

QImage CVbmPresenter::Picture() const
{
    if (IsEmpty())
        return QImage();
    // Drawn onto the opaque pane, RGBX takes the colours as stored and drops alpha.
    return QImage(m_frame.rgba.data(), m_frame.nWidth, m_frame.nHeight,
                  static_cast<qsizetype>(m_frame.nWidth) * 4, QImage::Format_RGBX8888);
}

QString CVbmPresenter::Caption() const
{
    if (IsEmpty())
        return QString();
    const QString size = QString::asprintf("%ix%i - ", m_frame.nWidth, m_frame.nHeight);
    if (m_vbm.nFrameCount > 1)
        return size + QString::asprintf("Frame %i/%i", m_nFrame + 1, m_vbm.nFrameCount);
    return size + QString::fromStdString(m_frame.strFormat);
}

void CVbmPresenter::ShowIn(CPreviewViewer& viewer, const QString& title) const
{
    // The colours are straight, not premultiplied: the colour under a clear pixel is kept.
    viewer.ShowPicture(title,
                       QImage(m_frame.rgba.data(), m_frame.nWidth, m_frame.nHeight,
                              static_cast<qsizetype>(m_frame.nWidth) * 4, QImage::Format_RGBA8888)
                           .copy(),
                       Caption());
    viewer.OfferAlphaInversion(m_vbm.nFormat == 0, m_bAlphaInverted);
}

bool CVbmPresenter::SetAlphaInverted(bool bInverted)
{
    if (IsEmpty() || m_vbm.nFormat != 0)
        return false;
    m_bAlphaInverted = bInverted;
    return ShowFrame(m_nFrame);
}
