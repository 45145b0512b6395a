#include "CAutoPreview.h"

#include <utility>

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>

#include "ArchiveFile.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "CSdlSoundOutput.h"
#include "DialogUnits.h"
#include "EntryData.h"
#include "FileTypes.h"
#include "SoundLoop.h"

namespace
{
// Where the pane's one line of text goes.
const QRect kTextRect(0, 0, 340, 20);
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
    if (m_nHeight > 0)
    {
        // The picture is drawn here once the decoders exist; nothing sets m_nHeight before.
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

// Not yet decoded: the pane stays in its Waiting state.
bool CAutoPreview::LoadPcx(const std::string&, std::int32_t, std::int32_t)
{
    return false;
}

// Not yet decoded: the pane stays in its Waiting state.
bool CAutoPreview::LoadAni(const std::string&, std::int32_t, std::int32_t)
{
    return false;
}

// Not yet decoded: the pane stays in its Waiting state.
bool CAutoPreview::LoadTga(const std::string&, std::int32_t, std::int32_t)
{
    return false;
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
    // A damaged entry (data outside the archive) plays nothing rather than a padded image.
    std::vector<std::uint8_t> image;
    if (!ReadEntryData(archive, entry, name, image))
        return false;

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

void CAutoPreview::FreeData()
{
    std::vector<std::uint8_t>().swap(m_pData);
}
