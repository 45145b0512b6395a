#pragma once

#include <QTimer>

#include "IPreviewPresenter.h"
#include "RgbaPicture.h"
#include "VbmDecoder.h"

// A Red Faction bitmap or animation: the first frame at once, then each frame at the file's
// rate as an ANI plays; 1555 alpha as the file's version says, flipped from the viewer.
class CVbmPresenter : public IPreviewPresenter
{
public:
    explicit CVbmPresenter(const PresenterHost& host);

    Result Load(std::vector<std::uint8_t> bytes, const EntrySource& entry) override;
    void Stop() override;
    bool IsEmpty() const override { return m_frame.nHeight <= 0; }
    // An animation plays until stopped; a single frame is a picture, as a TGA is.
    bool IsActive() const override { return m_timer.isActive(); }
    QImage Picture() const override;
    // "36x46 - Frame 3/16"; one frame: "36x46 - 1555".
    QString Caption() const override;
    void ShowIn(CPreviewViewer& viewer, const QString& title) const override;
    bool SetAlphaInverted(bool bInverted) override;

    // Shows the next frame, from the first after the last.
    void NextFrame();
    int Frame() const { return m_nFrame; }
    int TimerInterval() const { return m_timer.isActive() ? m_timer.interval() : 0; }

private:
    bool ShowFrame(int nFrame);

    PresenterHost m_host;
    VbmAnimation m_vbm;
    RgbaPicture m_frame;
    int m_nFrame = 0;
    bool m_bAlphaInverted = false;
    QTimer m_timer;
};
