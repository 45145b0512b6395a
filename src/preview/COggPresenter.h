#pragma once

#include "IPreviewPresenter.h"

// An OGG Vorbis sound, decoded as it plays through the pane's sound output; loops as the
// sound settings say, like a WAV.
class COggPresenter : public IPreviewPresenter
{
public:
    explicit COggPresenter(const PresenterHost& host) : m_host(host) {}

    Result Load(std::vector<std::uint8_t> bytes, const EntrySource& entry) override;
    // The output is silenced before the stream it reads goes.
    void Stop() override;
    bool IsEmpty() const override { return !m_bLoaded; }
    bool IsActive() const override { return m_bLoaded; }
    QString Message() const override;
    QString Caption() const override { return QString(); }
    void ShowIn(CPreviewViewer& viewer, const QString& title) const override;

private:
    PresenterHost m_host;
    bool m_bLoaded = false;
};
