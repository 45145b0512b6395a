#pragma once

#include <cstdint>
#include <vector>

#include <QImage>
#include <QString>

#include "IPreviewPresenter.h"
#include "Result.h"
#include "RgbaPicture.h"

// What the preview holds of a DDS, PNG or JPG entry: the entry's bytes (a DDS shows other mip
// levels and faces from them) and the decoded picture.
class CPicturePresenter : public IPreviewPresenter
{
public:
    // Decodes mip 0 (face 0) of the entry of the given file type; a refused entry leaves the
    // presenter empty.
    Result Load(int nType, std::vector<std::uint8_t> bytes);
    Result Load(std::vector<std::uint8_t> bytes, const EntrySource& entry) override;
    // Another mip level or cube face of the DDS held; the picture is kept when it fails.
    bool SelectMip(int nMip, int nFace) override;
    void Clear();
    void Stop() override { Clear(); }

    bool IsEmpty() const override { return m_picture.nHeight <= 0; }
    const RgbaPicture& Decoded() const { return m_picture; }
    // The picture over the decoded bytes, alpha as stored; valid until the next load.
    QImage Image() const;
    // The same pixels with alpha ignored, as the pane draws them.
    QImage OpaqueImage() const;
    QImage Picture() const override { return OpaqueImage(); }
    // "1024x1024 - DXT5"
    QString Caption() const override;
    void ShowIn(CPreviewViewer& viewer, const QString& title) const override;
    int MipCount() const { return m_nMipCount; }
    int FaceCount() const { return m_nFaceCount; }
    int Mip() const { return m_nMip; }
    int Face() const { return m_nFace; }

private:
    int m_nType = 0;
    std::vector<std::uint8_t> m_bytes; // kept for a DDS only
    RgbaPicture m_picture;
    int m_nMipCount = 1;
    int m_nFaceCount = 1;
    int m_nMip = 0;
    int m_nFace = 0;
};
