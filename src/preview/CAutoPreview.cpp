#include "CAutoPreview.h"

#include <algorithm>
#include <new>
#include <utility>

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "AniDecoder.h"
#include "ArchiveFile.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "CMemorySource.h"
#include "CORBISTAVDoc.h"
#include "CPreviewViewer.h"
#include "CSdlSoundOutput.h"
#include "CTextView.h"
#include "DialogUnits.h"
#include "FileTypes.h"
#include "OggDecoder.h"
#include "PcxDecoder.h"
#include "SoundLoop.h"
#include "TextDecoder.h"
#include "TextEncoding.h"
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

// The picture state as an image: 8-bit rows from the top through the palette (over the
// pane's buffer), 24- and 32-bit rows from the bottom as blue, green, red (turned upright into
// an image of its own). Null when the buffer does not hold the picture.
QImage PictureImage(std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitsPerPixel,
                    const Palette& palette, const std::vector<std::uint8_t>& data)
{
    const qsizetype nStride = static_cast<qsizetype>(PictureStride(nWidth, nBitsPerPixel));
    if (nWidth <= 0 || nHeight <= 0 || static_cast<qsizetype>(data.size()) < nStride * nHeight)
        return QImage();
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
        return image;
    }
    case 24:
    case 32:
        return QImage(pBits, nWidth, nHeight, nStride,
                      nBitsPerPixel == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32)
            .mirrored(false, true);
    default:
        return QImage();
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
    m_strEntryName = QString::fromStdString(Cp1252ToUtf8(entry.strName));

    if (IsTextFileType(entry.nType))
    {
        // Bytes that are no text show nothing and offer nothing.
        m_bPreviewable =
            ShowText(m_strArchivePath, entry.nOffset, entry.nSize, entry.nType == FILE_TYPE_LUA)
                ? 1
                : 0;
        viewport()->update();
        UpdateViewer();
        return true;
    }
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
    case FILE_TYPE_DDS:
    case FILE_TYPE_PNG:
    case FILE_TYPE_JPG:
        m_bPreviewable = 1;
        LoadPicture(entry.nType, m_strArchivePath, entry.nOffset, entry.nSize);
        break;
    case FILE_TYPE_POF:
        m_bPreviewable = 1;
        LoadModel(m_strArchivePath, entry.nOffset, entry.nSize);
        break;
    case FILE_TYPE_OGG:
        m_bPreviewable = 1;
        if (m_settings.m_bSoundAutoPlayWAV != 0 || bForce)
        {
            PlayOgg(m_strArchivePath, entry.nOffset, entry.nSize, entry.strName,
                    m_doc.GetDirPath(entry.nDir));
        }
        break;
    default:
        break;
    }

    viewport()->update();
    UpdateViewer();
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
    // The stream and the entry's bytes it decodes from went with the stop above.
    m_bOggLoaded = 0;
    std::vector<std::uint8_t>().swap(m_aniContent);
    m_picture.Clear();
    m_model.Clear();
    HideText();
    if (bUpdate)
    {
        viewport()->update();
        UpdateViewer();
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
    if (!m_picture.IsEmpty())
    {
        // Only the part in view is converted and drawn.
        const QRect visible =
            pEvent->rect().translated(horizontalScrollBar()->value(), verticalScrollBar()->value());
        painter.drawImage(visible.topLeft(), m_picture.OpaqueImage(), visible);
        return;
    }
    if (!m_model.IsEmpty())
    {
        painter.drawImage(0, 0, m_model.Image(viewport()->size()));
        return;
    }
    if (m_nHeight > 0)
    {
        painter.drawImage(0, 0,
                          PictureImage(m_nWidth, m_nHeight, m_nBitsPerPixel, m_palette, m_pData));
        return;
    }

    painter.setFont(TahomaFont(10));
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::black);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    if (const QString sound = SoundText(); !sound.isEmpty())
    {
        painter.drawText(kTextRect, flags, sound);
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
    if (m_pTextView)
        m_pTextView->setGeometry(viewport()->rect());
}

void CAutoPreview::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
    {
        OpenViewer();
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(pEvent);
}

void CAutoPreview::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter)
    {
        OpenViewer();
        return;
    }
    QAbstractScrollArea::keyPressEvent(pEvent);
}

// Enter in the pane's text opens the viewer as it does over a picture; a double-click there
// selects a word, as in any text.
bool CAutoPreview::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (m_pTextView && pWatched == m_pTextView->Editor() && pEvent->type() == QEvent::KeyPress)
    {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter)
        {
            OpenViewer();
            return true;
        }
    }
    return QAbstractScrollArea::eventFilter(pWatched, pEvent);
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
    UpdateViewer();
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

bool CAutoPreview::PlayOgg(const std::string& path, std::int32_t nOffset, std::int32_t nSize,
                           const std::string& name, const std::string& dirPath)
{
    const WaitCursor waitCursor;
    const bool bLoop = ShouldLoopSound(m_settings.m_nSoundAutoRepeatWAV, dirPath, name, path);
    std::vector<std::uint8_t> bytes;
    if (!ReadEntry(path, ContentMode(), nOffset, nSize, bytes))
        return false;
    m_bOggLoaded = 1;
    m_bPreviewActive = 1;
    // Bytes that are no Vorbis stream, or no audio device, simply stay silent, as a WAV does.
    std::unique_ptr<COggSource> pSource;
    if (!COggSource::Open(std::move(bytes), pSource))
        return true;
    if (!m_pSoundOutput)
        m_pSoundOutput = std::make_unique<CSdlSoundOutput>();
    m_pSoundOutput->PlayStream(std::move(pSource), bLoop);
    return true;
}

bool CAutoPreview::LoadPicture(int nType, const std::string& path, std::int32_t nOffset,
                               std::int32_t nSize)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadEntry(path, ContentMode(), nOffset, nSize, bytes) ||
        !m_picture.Load(nType, std::move(bytes)))
        return false;
    const RgbaPicture& picture = m_picture.Picture();
    m_nWidth = picture.nWidth;
    m_nHeight = picture.nHeight;
    m_nBitsPerPixel = 32;
    SetScrollSizes(QSize(m_nWidth, m_nHeight));
    SetPreviewCaption(m_picture.Caption());
    return true;
}

bool CAutoPreview::LoadModel(const std::string& path, std::int32_t nOffset, std::int32_t nSize)
{
    std::vector<std::uint8_t> bytes;
    CInputFile archive;
    if (!ReadEntry(path, ContentMode(), nOffset, nSize, bytes) || !archive.Open(path) ||
        !m_model.Load(bytes, m_doc, archive, ContentMode()))
        return false;
    // Drawn to fit the pane, so nothing scrolls.
    SetScrollSizes(QSize(1, 1));
    SetPreviewCaption(m_model.Caption());
    return true;
}

bool CAutoPreview::ShowText(const std::string& path, std::int32_t nOffset, std::int32_t nSize,
                            bool bLua)
{
    std::vector<std::uint8_t> bytes;
    std::string utf8;
    if (!ReadEntry(path, ContentMode(), nOffset, nSize, bytes) || !DecodeText(bytes, utf8))
        return false;
    std::vector<std::uint8_t>().swap(bytes);
    m_text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (!m_pTextView)
    {
        m_pTextView = new CTextView(viewport());
        m_pTextView->Editor()->installEventFilter(this);
    }
    m_pTextView->setGeometry(viewport()->rect());
    m_textSyntax = bLua ? TextSyntax::Lua : TextSyntax::Table;
    m_pTextView->SetText(m_text, m_textSyntax);
    m_pTextView->show();
    SetPreviewCaption(LineCountCaption(m_text));
    return true;
}

void CAutoPreview::HideText()
{
    if (!m_pTextView)
        return;
    m_pTextView->hide();
    m_pTextView->Clear();
    m_text.clear();
}

bool CAutoPreview::ShowsText() const
{
    return m_pTextView && !m_pTextView->isHidden();
}

void CAutoPreview::OpenViewer()
{
    if (!m_pViewer)
    {
        m_pViewer = new CPreviewViewer(window());
        connect(m_pViewer, &CPreviewViewer::MipRequested, this, &CAutoPreview::OnMipRequested);
    }
    UpdateViewer();
    m_pViewer->show();
    m_pViewer->raise();
    m_pViewer->activateWindow();
}

QString CAutoPreview::SoundText() const
{
    if (m_bWavLoaded != 0)
        return QStringLiteral("Playing WAV...");
    return m_bOggLoaded != 0 ? QStringLiteral("Playing OGG...") : QString();
}

CPreviewViewer* CAutoPreview::Viewer() const
{
    return m_pViewer;
}

void CAutoPreview::UpdateViewer()
{
    if (!m_pViewer)
        return;
    if (!m_picture.IsEmpty())
    {
        // The viewer keeps its own copy: the pane frees its picture on the next stop.
        m_pViewer->ShowPicture(m_strEntryName, m_picture.Image().copy(), m_picture.Caption(),
                               m_picture.MipCount(), m_picture.FaceCount(), m_picture.Mip(),
                               m_picture.Face());
    }
    else if (!m_model.IsEmpty())
        m_pViewer->ShowModel(m_strEntryName, m_model.Scene(), m_model.Caption());
    else if (m_nHeight > 0)
    {
        // A copy: the pane's buffer changes with every frame and goes with the next stop.
        m_pViewer->ShowPicture(
            m_strEntryName,
            PictureImage(m_nWidth, m_nHeight, m_nBitsPerPixel, m_palette, m_pData)
                .convertToFormat(QImage::Format_RGB32),
            QString::asprintf("%ix%i", m_nWidth, m_nHeight));
    }
    else if (ShowsText())
        m_pViewer->ShowText(m_strEntryName, m_text, m_textSyntax);
    else if (const QString sound = SoundText(); !sound.isEmpty())
        m_pViewer->ShowMessage(m_strEntryName, sound);
    else
        m_pViewer->ShowMessage(QString(), QString());
}

void CAutoPreview::OnMipRequested(int nMip, int nFace)
{
    if (m_picture.IsEmpty() || !m_picture.SelectMip(nMip, nFace))
        return;
    m_nWidth = m_picture.Picture().nWidth;
    m_nHeight = m_picture.Picture().nHeight;
    SetScrollSizes(QSize(m_nWidth, m_nHeight));
    SetPreviewCaption(m_picture.Caption());
    viewport()->update();
    UpdateViewer();
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
