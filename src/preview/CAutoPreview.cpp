#include "CAutoPreview.h"

#include <algorithm>
#include <new>
#include <utility>

#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "AniDecoder.h"
#include "ArchiveFile.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "CMemorySource.h"
#include "CORBISTAVDoc.h"
#include "CSdlSoundOutput.h"
#include "DialogUnits.h"
#include "FileTypes.h"
#include "PcxDecoder.h"
#include "SoundLoop.h"
#include "TgaDecoder.h"

namespace
{
// Where the pane's one line of text goes.
const QRect kTextRect(0, 0, 340, 20);

// The entry's content (decompressed when the entry is compressed), read from the archive
// file now; an entry whose data lies outside the archive is damaged and not read.
bool ReadEntry(const std::string& path, CEntryReader::Mode mode, std::int32_t nOffset,
               std::int32_t nSize, std::vector<std::uint8_t>& bytes)
{
    CInputFile file;
    if (!file.Open(path))
        return false;
    ArchiveFile entry;
    entry.nOffset = nOffset;
    entry.nSize = nSize;
    try
    {
        return ReadEntryContent(file, entry, path, bytes, mode).IsOk();
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

// 8-bit rows from the top through the palette, 24- and 32-bit rows from the bottom as blue,
// green, red; 1:1 at the origin.
void DrawPicture(QPainter& painter, std::int32_t nWidth, std::int32_t nHeight,
                 std::int32_t nBitsPerPixel, const Palette& palette,
                 const std::vector<std::uint8_t>& data)
{
    const qsizetype nStride = static_cast<qsizetype>(PictureStride(nWidth, nBitsPerPixel));
    if (nWidth <= 0 || static_cast<qsizetype>(data.size()) < nStride * nHeight)
        return;
    const uchar* pBits = data.data();
    switch (nBitsPerPixel)
    {
    case 8:
    {
        QImage image(pBits, nWidth, nHeight, nStride, QImage::Format_Indexed8);
        QList<QRgb> colours(256);
        for (int i = 0; i < 256; ++i)
            colours[i] = qRgb(palette[i].byRed, palette[i].byGreen, palette[i].byBlue);
        image.setColorTable(colours);
        painter.drawImage(0, 0, image);
        break;
    }
    case 24:
    case 32:
    {
        // The rows are stored bottom row first.
        const QImage image(pBits, nWidth, nHeight, nStride,
                           nBitsPerPixel == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
        painter.drawImage(0, 0, image.mirrored(false, true));
        break;
    }
    default:
        break;
    }
}
} // namespace

CAutoPreview::CAutoPreview(CORBISTAVDoc& doc, const AppSettings& settings, QWidget* pParent)
    : QAbstractScrollArea(pParent), m_doc(doc), m_settings(settings)
{
    setFrameShape(QFrame::NoFrame);
    // Every pixel is painted in paintEvent, so nothing is erased first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
}

CAutoPreview::~CAutoPreview()
{
    StopPreview(false);
}

bool CAutoPreview::PreviewEntry(const ArchiveFile& entry, bool bForce)
{
    m_strArchivePath = m_doc.GetPathName();
    StopPreview(true);
    m_bPreviewable = 0;

    switch (entry.nType)
    {
    case FILE_TYPE_PCX:
        m_bPreviewable = 1;
        if (m_settings.m_bAutoShowPCX != 0 || bForce)
        {
            LoadPcx(m_strArchivePath, entry.nOffset, entry.nSize);
        }
        break;
    case FILE_TYPE_ANI:
        m_bPreviewable = 1;
        if (m_settings.m_bAutoPlayANI != 0 || bForce)
        {
            LoadAni(m_strArchivePath, entry.nOffset, entry.nSize);
        }
        break;
    case FILE_TYPE_TGA:
        m_bPreviewable = 1;
        LoadTga(m_strArchivePath, entry.nOffset, entry.nSize);
        break;
    case FILE_TYPE_WAV:
        m_bPreviewable = 1;
        if (m_settings.m_bSoundAutoPlayWAV != 0 || bForce)
        {
            PlayWav(m_strArchivePath, entry.nOffset, entry.nSize, entry.strName,
                    m_doc.GetDirPath(entry.nDir));
        }
        break;
    default:
        break;
    }

    viewport()->update();
    return true;
}

void CAutoPreview::StopPreview(bool bUpdate)
{
    m_bPreviewActive = 0;
    if (bUpdate)
    {
        m_aniTimer.stop();
        SetPreviewCaption(QString());
    }
    if (m_nHeight > 0)
    {
        FreeData();
    }
    m_nHeight = 0;
    // The sound reads its image from m_pData, so it is silenced before that is freed.
    StopSound();
    if (m_bWavLoaded != 0)
    {
        FreeData();
    }
    m_bWavLoaded = 0;
    std::vector<std::uint8_t>().swap(m_aniContent);
    if (bUpdate)
    {
        viewport()->update();
    }
}

void CAutoPreview::SetPreviewCaption(const QString& text)
{
    if (m_captionHandler)
    {
        m_captionHandler(text);
    }
}

void CAutoPreview::SetCaptionHandler(std::function<void(const QString&)> handler)
{
    m_captionHandler = std::move(handler);
}

void CAutoPreview::SetSoundOutput(std::unique_ptr<ISoundOutput> pOutput)
{
    m_pSoundOutput = std::move(pOutput);
}

void CAutoPreview::paintEvent(QPaintEvent* pEvent)
{
    QPainter painter(viewport());
    painter.fillRect(pEvent->rect(), Qt::black);
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    if (m_nHeight > 0)
    {
        DrawPicture(painter, m_nWidth, m_nHeight, m_nBitsPerPixel, m_palette, m_pData);
        return;
    }

    painter.setFont(TahomaFont(10));
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::black);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    if (m_bWavLoaded != 0)
    {
        painter.drawText(kTextRect, flags, QStringLiteral("Playing WAV..."));
    }
    if (m_bPreviewable != 0 && m_bPreviewActive == 0)
    {
        painter.drawText(kTextRect, flags, QStringLiteral("<Click 'Play/Preview'>"));
    }
}

void CAutoPreview::resizeEvent(QResizeEvent* pEvent)
{
    QAbstractScrollArea::resizeEvent(pEvent);
    UpdateScrollBars();
}

void CAutoPreview::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() == m_aniTimer.timerId())
        DecodeNextAniFrame();
    QAbstractScrollArea::timerEvent(pEvent);
}

void CAutoPreview::SetScrollSizes(QSize total)
{
    m_scrollSize = total;
    UpdateScrollBars();
}

void CAutoPreview::UpdateScrollBars()
{
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_scrollSize.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, std::max(0, m_scrollSize.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

void CAutoPreview::ShowPicture(DecodedPicture&& picture)
{
    m_nWidth = picture.nWidth;
    m_nBitsPerPixel = picture.nBitsPerPixel;
    if (picture.nBitsPerPixel == 8)
        m_palette = picture.palette;
    m_pData = std::move(picture.pixels);
    m_nHeight = picture.nHeight;
    SetScrollSizes(QSize(m_nWidth, m_nHeight));
    SetPreviewCaption(QString::asprintf("%ix%i", m_nWidth, m_nHeight));
}

bool CAutoPreview::LoadPcx(const std::string& path, std::int32_t nOffset, std::int32_t nSize)
{
    std::vector<std::uint8_t> bytes;
    DecodedPicture picture;
    if (!ReadEntry(path, ContentMode(), nOffset, nSize, bytes) || !DecodePcx(bytes, picture))
        return false;
    ShowPicture(std::move(picture));
    m_bPreviewActive = 1;
    return true;
}

// A TGA is shown without becoming the active preview: Play/Preview stays offered.
bool CAutoPreview::LoadTga(const std::string& path, std::int32_t nOffset, std::int32_t nSize)
{
    std::vector<std::uint8_t> bytes;
    DecodedPicture picture;
    if (!ReadEntry(path, ContentMode(), nOffset, nSize, bytes) || !DecodeTga(bytes, picture))
        return false;
    ShowPicture(std::move(picture));
    return true;
}

bool CAutoPreview::LoadAni(const std::string& path, std::int32_t nOffset, std::int32_t nSize)
{
    AniHeader header;
    {
        CInputFile file;
        if (!file.Open(path))
            return false;
        ArchiveFile entry;
        entry.nOffset = nOffset;
        entry.nSize = nSize;
        CEntryReader reader(file, ContentMode());
        if (!reader.Open(entry, path))
            return false;
        // A compressed animation is decompressed once and its frames read from memory.
        if (reader.IsCompressed())
        {
            try
            {
                if (!reader.ReadAll(m_aniContent))
                    return false;
            }
            catch (const std::bad_alloc&)
            {
                return false;
            }
            nOffset = 0;
            nSize = static_cast<std::int32_t>(m_aniContent.size());
        }
        CMemorySource content(m_aniContent);
        IByteSource& source = reader.IsCompressed() ? static_cast<IByteSource&>(content) : file;
        std::vector<std::uint8_t> bytes(
            std::min(static_cast<std::size_t>(nSize), kMostAniHeaderBytes));
        if (source.ReadAt(nOffset, bytes.data(), bytes.size()) !=
                static_cast<std::int64_t>(bytes.size()) ||
            !ParseAniHeader(bytes, nSize, header))
        {
            std::vector<std::uint8_t>().swap(m_aniContent);
            return false;
        }
    }
    try
    {
        m_pData.assign(PictureStride(header.nWidth, 8) * static_cast<std::size_t>(header.nHeight),
                       0);
    }
    catch (const std::bad_alloc&)
    {
        FreeData();
        std::vector<std::uint8_t>().swap(m_aniContent);
        return false;
    }
    m_nWidth = header.nWidth;
    m_nHeight = header.nHeight;
    m_nBitsPerPixel = 8;
    m_palette = header.palette;
    m_byAniPackerCode = header.byPackerCode;
    m_nAniFrameCount = header.nFrameCount;
    m_nAniFirstFramePos = nOffset + static_cast<std::int32_t>(header.nFirstFrameOffset);
    m_nAniFramePos = m_nAniFirstFramePos;
    m_nAniEntryEnd = static_cast<std::int64_t>(nOffset) + nSize;
    m_nAniFrame = 0;
    SetScrollSizes(QSize(m_nWidth, m_nHeight));

    DecodeNextAniFrame();
    m_nAniInterval = AniFrameInterval(header.nFramesPerSecond);
    m_aniTimer.start(m_nAniInterval, Qt::PreciseTimer, this);
    m_bPreviewActive = 1;
    return true;
}

int CAutoPreview::AniTimerInterval() const
{
    return m_aniTimer.isActive() ? m_nAniInterval : 0;
}

bool CAutoPreview::DecodeNextAniFrame()
{
    if (m_nHeight <= 0 || m_nBitsPerPixel != 8 || m_nAniFrameCount < 1)
        return false;
    std::vector<std::uint8_t> code;
    {
        CInputFile file;
        CMemorySource content(m_aniContent);
        if (m_aniContent.empty() && !file.Open(m_strArchivePath))
            return false;
        IByteSource& source = m_aniContent.empty() ? static_cast<IByteSource&>(file) : content;
        const std::int64_t nEnd = std::min(m_nAniEntryEnd, source.Size());
        const std::int64_t nAvailable = std::max<std::int64_t>(0, nEnd - m_nAniFramePos);
        code.resize(
            std::min(static_cast<std::size_t>(nAvailable), MostAniFrameBytes(m_nWidth, m_nHeight)));
        const std::int64_t nRead = source.ReadAt(m_nAniFramePos, code.data(), code.size());
        if (nRead < 0)
            return false;
        code.resize(static_cast<std::size_t>(nRead));
    }
    m_nAniFramePos += static_cast<std::int32_t>(
        DecodeAniFrame(code, m_nWidth, m_nHeight, m_byAniPackerCode, m_pData));
    const int nShown = m_nAniFrame + 1;
    if (++m_nAniFrame >= m_nAniFrameCount)
    {
        m_nAniFrame = 0;
        m_nAniFramePos = m_nAniFirstFramePos;
    }
    viewport()->update();
    SetPreviewCaption(
        QString::asprintf("%ix%i - Frame %i/%i", m_nWidth, m_nHeight, nShown, m_nAniFrameCount));
    return true;
}

namespace
{
// The wait cursor for as long as a sound loads, whichever way loading ends.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
} // namespace

bool CAutoPreview::PlayWav(const std::string& path, std::int32_t nOffset, std::int32_t nSize,
                           const std::string& name, const std::string& dirPath)
{
    const WaitCursor waitCursor;
    const bool bLoop = ShouldLoopSound(m_settings.m_nSoundAutoRepeatWAV, dirPath, name, path);

    CInputFile archive;
    if (!archive.Open(path))
        return false;
    ArchiveFile entry;
    entry.nOffset = nOffset;
    entry.nSize = nSize;
    entry.strName = name;
    // A damaged entry (data outside the archive, a compressed entry that does not
    // decompress) plays nothing rather than a padded image.
    std::vector<std::uint8_t> image;
    try
    {
        if (!ReadEntryContent(archive, entry, name, image, ContentMode()))
            return false;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }

    m_pData.swap(image);
    m_bWavLoaded = 1;
    if (!m_pSoundOutput)
        m_pSoundOutput = std::make_unique<CSdlSoundOutput>();
    // Bytes the output cannot decode, or no audio device, simply stay silent.
    m_pSoundOutput->Play(m_pData, bLoop);
    m_bPreviewActive = 1;
    return true;
}

void CAutoPreview::StopSound()
{
    if (m_pSoundOutput)
        m_pSoundOutput->Stop();
}

CEntryReader::Mode CAutoPreview::ContentMode() const
{
    return CEntryReader::ModeFor(m_doc, false);
}

void CAutoPreview::FreeData()
{
    std::vector<std::uint8_t>().swap(m_pData);
}
