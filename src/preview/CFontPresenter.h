#pragma once

#include <QString>

#include "IPreviewPresenter.h"
#include "RgbaPicture.h"

// A font's sheet: the sample line set in the font with its kerning, then every glyph. VF
// fonts (FreeSpace, Red Faction) are drawn from their own glyph pictures; TrueType and
// OpenType fonts are drawn by Qt from the entry's bytes.
class CFontPresenter : public IPreviewPresenter
{
public:
    explicit CFontPresenter(const PresenterHost&) {}

    Result Load(std::vector<std::uint8_t> bytes, const EntrySource& entry) override;
    void Stop() override;
    bool IsEmpty() const override { return m_sheet.nHeight <= 0; }
    QImage Picture() const override;
    bool FitsToWidth() const override { return true; }
    // "95 glyphs, height 12"
    QString Caption() const override { return m_caption; }
    void ShowIn(CPreviewViewer& viewer, const QString& title) const override;

private:
    RgbaPicture m_sheet;
    QString m_caption;
};
