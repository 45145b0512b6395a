#include "COggPresenter.h"

#include <memory>
#include <utility>

#include "CPreviewViewer.h"
#include "ISoundOutput.h"
#include "OggDecoder.h"
#include "Settings.h"
#include "SoundLoop.h"

Result COggPresenter::Load(std::vector<std::uint8_t> bytes, const EntrySource& entry)
{
    const bool bLoop = ShouldLoopSound(m_host.pSettings->m_nSoundAutoRepeatWAV, entry.strDirPath,
                                       entry.strName, entry.strPath);
    m_bLoaded = true;
    // Bytes that are no Vorbis stream, or no audio device, simply stay silent, as a WAV does.
    std::unique_ptr<COggSource> pSource;
    if (COggSource::Open(std::move(bytes), pSource))
        m_host.sound().PlayStream(std::move(pSource), bLoop);
    return Result::Ok();
}

void COggPresenter::Stop()
{
    if (m_bLoaded)
        m_host.sound().Stop();
    m_bLoaded = false;
}

QString COggPresenter::Message() const
{
    return m_bLoaded ? QStringLiteral("Playing OGG...") : QString();
}

void COggPresenter::ShowIn(CPreviewViewer& viewer, const QString& title) const
{
    viewer.ShowMessage(title, Message());
}
