#include "CPicturePresenter.h"

#include <new>
#include <utility>

#include "CPreviewViewer.h"
#include "DdsDecoder.h"
#include "FileTypes.h"
#include "JpgDecoder.h"
#include "PngDecoder.h"

Result CPicturePresenter::Load(int nType, std::vector<std::uint8_t> bytes)
{
    Clear();
    RgbaPicture picture;
    Result result;
    try
    {
        switch (nType)
        {
        case FILE_TYPE_DDS:
        {
            DdsInfo info;
            result = ReadDdsInfo(bytes, info);
            if (result)
                result = DecodeDds(bytes, 0, 0, picture);
            if (result)
            {
                m_nMipCount = info.nMipCount;
                m_nFaceCount = info.nFaceCount;
                m_bytes = std::move(bytes);
            }
            break;
        }
        case FILE_TYPE_PNG:
            result = DecodePng(bytes, picture);
            break;
        case FILE_TYPE_JPG:
            result = DecodeJpg(bytes, picture);
            break;
        default:
            result = Result::Fail("not a picture");
            break;
        }
    }
    catch (const std::bad_alloc&)
    {
        result = Result::Fail("not enough memory for the picture");
    }
    if (!result)
    {
        Clear();
        return result;
    }
    m_nType = nType;
    m_picture = std::move(picture);
    return Result::Ok();
}

Result CPicturePresenter::Load(std::vector<std::uint8_t> bytes, const EntrySource& entry)
{
    return Load(entry.nType, std::move(bytes));
}

bool CPicturePresenter::SelectMip(int nMip, int nFace)
{
    if (m_nType != FILE_TYPE_DDS || m_bytes.empty())
        return false;
    RgbaPicture picture;
    try
    {
        if (!DecodeDds(m_bytes, nMip, nFace, picture))
            return false;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    m_picture = std::move(picture);
    m_nMip = nMip;
    m_nFace = nFace;
    return true;
}

void CPicturePresenter::Clear()
{
    m_nType = 0;
    std::vector<std::uint8_t>().swap(m_bytes);
    m_picture = RgbaPicture();
    m_nMipCount = 1;
    m_nFaceCount = 1;
    m_nMip = 0;
    m_nFace = 0;
}

QImage CPicturePresenter::Image() const
{
    if (IsEmpty())
        return QImage();
    return QImage(m_picture.rgba.data(), m_picture.nWidth, m_picture.nHeight,
                  static_cast<qsizetype>(m_picture.nWidth) * 4, QImage::Format_RGBA8888);
}

QImage CPicturePresenter::OpaqueImage() const
{
    if (IsEmpty())
        return QImage();
    // Drawn onto an opaque surface, RGBX takes the colour bytes as they are and drops alpha.
    return QImage(m_picture.rgba.data(), m_picture.nWidth, m_picture.nHeight,
                  static_cast<qsizetype>(m_picture.nWidth) * 4, QImage::Format_RGBX8888);
}

QString CPicturePresenter::Caption() const
{
    if (IsEmpty())
        return QString();
    return QString::asprintf("%ix%i", m_picture.nWidth, m_picture.nHeight) + QStringLiteral(" - ") +
           QString::fromStdString(m_picture.strFormat);
}

void CPicturePresenter::ShowIn(CPreviewViewer& viewer, const QString& title) const
{
    // The viewer keeps its own copy: the pane frees its picture on the next stop.
    viewer.ShowPicture(title, Image().copy(), Caption(), m_nMipCount, m_nFaceCount, m_nMip,
                       m_nFace);
}
