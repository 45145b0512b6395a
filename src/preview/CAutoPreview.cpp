#include "CAutoPreview.h"

#include <algorithm>
#include <new>
#include <optional>
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
#include "CPicturePresenter.h"
#include "CPreviewViewer.h"
#include "CSdlSoundOutput.h"
#include "CTextPresenter.h"
#include "DialogUnits.h"
#include "FileTypes.h"
#include "PcxDecoder.h"
#include "PreviewKinds.h"
#include "SoundLoop.h"
#include "TextEncoding.h"
#include "TgaDecoder.h"

namespace
{
// Where the pane's one line of text goes.
const QRect kTextRect(0, 0, 340, 20);

// Bytes of an entry of no known kind read to tell whether it is text.
constexpr std::size_t kTextSniffBytes = 4096;

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
    : QAbstractScrollArea(pParent), m_doc(doc), m_settings(settings), m_documentTextures(doc)
{
    m_host.pViewport = viewport();
    m_host.pSettings = &m_settings;
    m_host.sound = [this]() -> ISoundOutput& { return SoundOutput(); };
    m_host.textures = [this]() -> ITextureResolver&
    { return m_pTextures ? *m_pTextures : m_documentTextures; };
    m_host.changed = [this] { PresenterChanged(); };
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
    return PreviewEntry(EntrySource::FromDocument(m_doc, entry), bForce);
}

bool CAutoPreview::PreviewEntry(const EntrySource& source, bool bForce)
{
    m_strArchivePath = source.strPath;
    StopPreview(true);
    m_source = source;
    m_bPreviewable = 0;
    m_strEntryName = QString::fromStdString(Cp1252ToUtf8(source.strName));

    switch (source.nType)
    {
    case FILE_TYPE_PCX:
        m_bPreviewable = 1;
        if (m_settings.m_bAutoShowPCX != 0 || bForce)
        {
            LoadPcx(source);
        }
        break;
    case FILE_TYPE_ANI:
        m_bPreviewable = 1;
        if (m_settings.m_bAutoPlayANI != 0 || bForce)
        {
            LoadAni(source);
        }
        break;
    case FILE_TYPE_TGA:
        m_bPreviewable = 1;
        LoadTga(source);
        break;
    case FILE_TYPE_WAV:
        m_bPreviewable = 1;
        if (m_settings.m_bSoundAutoPlayWAV != 0 || bForce)
        {
            PlayWav(source);
        }
        break;
    default:
    {
        const PreviewKind& kind = FindPreviewKind(source.nType, source.strName);
        if (IsTextKind(kind))
        {
            // Bytes that are no text show nothing and offer nothing. An entry of no text kind
            // is read whole only when its start may be text.
            std::vector<std::uint8_t> head;
            if (IsTextFileType(source.nType) ||
                (ReadEntrySourceHead(source, kTextSniffBytes, head) &&
                 CTextPresenter::MayBeText(head)))
                m_bPreviewable = StartPresenter(kind, source) ? 1 : 0;
            break;
        }
        m_bPreviewable = 1;
        const bool bStarts = kind.gate == PreviewGate::None ||
                             (kind.gate == PreviewGate::Animation && m_settings.m_bAutoPlayANI) ||
                             (kind.gate == PreviewGate::Sound && m_settings.m_bSoundAutoPlayWAV);
        if (bStarts || bForce)
            StartPresenter(kind, source);
        break;
    }
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
    std::vector<std::uint8_t>().swap(m_aniContent);
    if (m_pPresenter)
    {
        m_pPresenter->Stop();
        m_pPresenter = nullptr;
    }
    m_fitted = QImage();
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

ISoundOutput& CAutoPreview::SoundOutput()
{
    if (!m_pSoundOutput)
        m_pSoundOutput = std::make_unique<CSdlSoundOutput>();
    return *m_pSoundOutput;
}

void CAutoPreview::SetTextureResolver(ITextureResolver* pResolver)
{
    m_pTextures = pResolver;
}

void CAutoPreview::DocumentReading()
{
    StopPreview(true);
    m_documentTextures.Reset();
}

void CAutoPreview::SettingsChanged()
{
    m_fitted = QImage();
    UpdateScrollBars();
    viewport()->update();
}

void CAutoPreview::paintEvent(QPaintEvent* pEvent)
{
    QPainter painter(viewport());
    painter.fillRect(pEvent->rect(), Qt::black);
    if (m_pPresenter && m_pPresenter->Message().isEmpty())
    {
        if (const QImage picture = m_pPresenter->Picture(); !picture.isNull())
            DrawPicture(painter, picture, pEvent->rect());
        else
            m_pPresenter->Paint(painter, viewport()->size());
        return;
    }
    if (m_nHeight > 0)
    {
        DrawPicture(painter, PictureImage(m_nWidth, m_nHeight, m_nBitsPerPixel, m_palette, m_pData),
                    pEvent->rect());
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

bool CAutoPreview::FitsPicture() const
{
    return PictureScale() < 1.0;
}

double CAutoPreview::PictureScale() const
{
    const QSize view = viewport()->size();
    if (m_settings.m_bPreviewOneToOne != 0 || m_nHeight <= 0 || m_nWidth <= 0 || view.isEmpty())
        return 1.0;
    const double dWidth = static_cast<double>(view.width()) / m_nWidth;
    if (m_pPresenter && m_pPresenter->FitsToWidth())
        return std::min(1.0, dWidth);
    return std::min({1.0, dWidth, static_cast<double>(view.height()) / m_nHeight});
}

QSize CAutoPreview::ShownPictureSize() const
{
    const double dScale = PictureScale();
    return QSize(std::max(1, static_cast<int>(m_nWidth * dScale)),
                 std::max(1, static_cast<int>(m_nHeight * dScale)));
}

void CAutoPreview::DrawPicture(QPainter& painter, const QImage& image, const QRect& exposed)
{
    if (image.isNull())
        return;
    const QImage* pShown = &image;
    if (FitsPicture())
    {
        if (m_fitted.isNull())
            m_fitted =
                image.scaled(ShownPictureSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        pShown = &m_fitted;
    }
    // Only the part in view is converted and drawn.
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.drawImage(exposed.topLeft(), *pShown, exposed.translated(scroll));
}

void CAutoPreview::resizeEvent(QResizeEvent* pEvent)
{
    QAbstractScrollArea::resizeEvent(pEvent);
    m_fitted = QImage();
    UpdateScrollBars();
    if (QWidget* pWidget = m_pPresenter ? m_pPresenter->Widget() : nullptr)
        pWidget->setGeometry(viewport()->rect());
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

// Enter in a presenter's widget (the pane's text) opens the viewer as it does over a picture;
// a double-click there selects a word, as in any text.
bool CAutoPreview::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const QWidget* pWidget = m_pPresenter ? m_pPresenter->Widget() : nullptr;
    if (pWidget && pEvent->type() == QEvent::KeyPress && pWatched->isWidgetType() &&
        pWidget->isAncestorOf(static_cast<QWidget*>(pWatched)))
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
    // A picture fitted into the pane scrolls only as far as its scaled size reaches.
    const QSize total = FitsPicture() ? ShownPictureSize() : m_scrollSize;
    horizontalScrollBar()->setRange(0, std::max(0, total.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, std::max(0, total.height() - view.height()));
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
    m_fitted = QImage();
    SetScrollSizes(QSize(m_nWidth, m_nHeight));
    SetPreviewCaption(QString::asprintf("%ix%i", m_nWidth, m_nHeight));
}

bool CAutoPreview::LoadPcx(const EntrySource& source)
{
    std::vector<std::uint8_t> bytes;
    DecodedPicture picture;
    if (!ReadEntrySource(source, bytes) || !DecodePcx(bytes, picture))
        return false;
    ShowPicture(std::move(picture));
    m_bPreviewActive = 1;
    return true;
}

// A TGA is shown without becoming the active preview: Play/Preview stays offered.
bool CAutoPreview::LoadTga(const EntrySource& source)
{
    std::vector<std::uint8_t> bytes;
    DecodedPicture picture;
    if (!ReadEntrySource(source, bytes) || !DecodeTga(bytes, picture))
        return false;
    ShowPicture(std::move(picture));
    return true;
}

bool CAutoPreview::LoadAni(const EntrySource& source)
{
    AniHeader header;
    ArchiveFile entry;
    if (!ToArchiveFile(source, entry))
        return false;
    std::int32_t nOffset = entry.nOffset;
    std::int32_t nSize = entry.nSize;
    {
        CInputFile file;
        if (!file.Open(source.strPath))
            return false;
        CEntryReader reader(file, source.mode);
        if (!reader.Open(entry, source.strPath))
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

bool CAutoPreview::PlayWav(const EntrySource& source)
{
    const WaitCursor waitCursor;
    const bool bLoop = ShouldLoopSound(m_settings.m_nSoundAutoRepeatWAV, source.strDirPath,
                                       source.strName, source.strPath);
    // A damaged entry (data outside the archive, a compressed entry that does not
    // decompress) plays nothing rather than a padded image.
    std::vector<std::uint8_t> image;
    if (!ReadEntrySource(source, image))
        return false;
    m_pData.swap(image);
    m_bWavLoaded = 1;
    // Bytes the output cannot decode, or no audio device, simply stay silent.
    SoundOutput().Play(m_pData, bLoop);
    m_bPreviewActive = 1;
    return true;
}

IPreviewPresenter& CAutoPreview::PresenterFor(const PreviewKind& kind)
{
    const void* pKey = reinterpret_cast<const void*>(kind.make);
    for (auto& [pMake, pPresenter] : m_presenters)
        if (pMake == pKey)
            return *pPresenter;
    m_presenters.emplace_back(pKey, kind.make(m_host));
    return *m_presenters.back().second;
}

bool CAutoPreview::StartPresenter(const PreviewKind& kind, const EntrySource& source)
{
    // Sounds take a moment to start; the others are drawn at once.
    std::optional<WaitCursor> waitCursor;
    if (kind.gate == PreviewGate::Sound)
        waitCursor.emplace();
    IPreviewPresenter& presenter = PresenterFor(kind);
    std::vector<std::uint8_t> bytes;
    if (!ReadEntrySource(source, bytes) || !presenter.Load(std::move(bytes), source))
        return false;
    m_pPresenter = &presenter;
    if (QWidget* pWidget = presenter.Widget())
    {
        pWidget->setGeometry(viewport()->rect());
        for (QWidget* pChild : pWidget->findChildren<QWidget*>())
            pChild->installEventFilter(this);
        pWidget->show();
    }
    PresenterChanged();
    return true;
}

void CAutoPreview::PresenterChanged()
{
    if (!m_pPresenter)
        return;
    m_bPreviewActive = m_pPresenter->IsActive() ? 1 : 0;
    const QImage picture = m_pPresenter->Picture();
    m_nWidth = picture.width();
    m_nHeight = picture.height();
    m_nBitsPerPixel = picture.isNull() ? 0 : 32;
    m_fitted = QImage();
    // A model is drawn to fit the pane, so nothing scrolls.
    SetScrollSizes(picture.isNull() ? QSize(1, 1) : picture.size());
    SetPreviewCaption(m_pPresenter->Caption());
    viewport()->update();
    UpdateViewer();
}

bool CAutoPreview::ShowsText() const
{
    return TextView() != nullptr;
}

CTextView* CAutoPreview::TextView() const
{
    const auto* pText = dynamic_cast<const CTextPresenter*>(m_pPresenter);
    return pText && !pText->IsEmpty() ? pText->View() : nullptr;
}

const CPicturePresenter& CAutoPreview::PicturePresenter() const
{
    static const CPicturePresenter empty;
    const auto* pPicture = dynamic_cast<const CPicturePresenter*>(m_pPresenter);
    return pPicture ? *pPicture : empty;
}

void CAutoPreview::OpenViewer()
{
    if (!m_pViewer)
    {
        m_pViewer = new CPreviewViewer(window());
        connect(m_pViewer, &CPreviewViewer::MipRequested, this, &CAutoPreview::OnMipRequested);
        connect(m_pViewer, &CPreviewViewer::AlphaInversionRequested, this,
                [this](bool bInverted)
                {
                    if (m_pPresenter && m_pPresenter->SetAlphaInverted(bInverted))
                        PresenterChanged();
                });
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
    return m_pPresenter ? m_pPresenter->Message() : QString();
}

CPreviewViewer* CAutoPreview::Viewer() const
{
    return m_pViewer;
}

void CAutoPreview::UpdateViewer()
{
    if (!m_pViewer)
        return;
    if (m_pPresenter)
        m_pPresenter->ShowIn(*m_pViewer, m_strEntryName);
    else if (m_nHeight > 0)
    {
        // A copy: the pane's buffer changes with every frame and goes with the next stop.
        m_pViewer->ShowPicture(
            m_strEntryName,
            PictureImage(m_nWidth, m_nHeight, m_nBitsPerPixel, m_palette, m_pData)
                .convertToFormat(QImage::Format_RGB32),
            QString::asprintf("%ix%i", m_nWidth, m_nHeight));
    }
    else if (const QString sound = SoundText(); !sound.isEmpty())
        m_pViewer->ShowMessage(m_strEntryName, sound);
    else
        m_pViewer->ShowMessage(QString(), QString());
}

void CAutoPreview::OnMipRequested(int nMip, int nFace)
{
    if (m_pPresenter && m_pPresenter->SelectMip(nMip, nFace))
        PresenterChanged();
}

void CAutoPreview::StopSound()
{
    if (m_pSoundOutput)
        m_pSoundOutput->Stop();
}

void CAutoPreview::FreeData()
{
    std::vector<std::uint8_t>().swap(m_pData);
}
