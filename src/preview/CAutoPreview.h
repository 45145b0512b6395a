#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QImage>
#include <QPointer>
#include <QSize>
#include <QString>

#include "ArchiveFile.h"
#include "CDocumentTextures.h"
#include "CEntryReader.h"
#include "CPicturePresenter.h"
#include "EntrySource.h"
#include "IPreviewPresenter.h"
#include "Picture.h"
#include "Settings.h"

class CORBISTAVDoc;
class CPreviewViewer;
class CTextView;
class ISoundOutput;
class ITextureResolver;
struct PreviewKind;

// The black preview pane below the preview toolbar: shows or plays the selected entry of
// the open archive without extracting it. PCX, TGA, ANI and WAV are its own; every other kind
// goes to the presenter its row of the table of kinds names (PreviewKinds.h).
class CAutoPreview : public QAbstractScrollArea
{
    Q_OBJECT

public:
    using PaletteEntry = ::PaletteEntry;

    CAutoPreview(CORBISTAVDoc& doc, const AppSettings& settings, QWidget* pParent = nullptr);
    ~CAutoPreview() override;

    // Stops the previous preview, then starts the one the entry's type and the settings call
    // for; bForce (Play/Preview) previews regardless of the settings. Always true.
    bool PreviewEntry(const ArchiveFile& entry, bool bForce);
    // The same for an entry that may lie in another file than the open archive.
    bool PreviewEntry(const EntrySource& source, bool bForce);
    // Ends any preview; bUpdate is false only while the pane is being destroyed.
    void StopPreview(bool bUpdate);
    // Shows the animation's next frame, read from the archive file; false when the file
    // cannot be read (the frame is tried again at the next tick).
    bool DecodeNextAniFrame();
    // Milliseconds between animation frames while an animation plays, else 0.
    int AniTimerInterval() const;
    void SetPreviewCaption(const QString& text);
    // The frame's SetPreviewToolbarCaption.
    void SetCaptionHandler(std::function<void(const QString&)> handler);
    // Where sounds play; without one the pane plays through SDL's audio device.
    void SetSoundOutput(std::unique_ptr<ISoundOutput> pOutput);
    // Where models find their textures; nullptr: in the open archive.
    void SetTextureResolver(ITextureResolver* pResolver);
    // The archive is about to be read anew: what is shown stops, and models look their
    // textures up in what is read next.
    void DocumentReading();
    // The settings changed (pictures fitted or 1:1): shown again as they now say.
    void SettingsChanged();
    // Opens the viewer window on what the pane shows, or brings it forward; it then follows
    // every preview until it is closed.
    void OpenViewer();
    CPreviewViewer* Viewer() const;
    // The presenter of the kind shown, nullptr for the original four and for nothing.
    IPreviewPresenter* Presenter() const { return m_pPresenter; }
    // The DDS, PNG or JPG picture shown, empty for every other kind.
    const CPicturePresenter& PicturePresenter() const;
    // The text shown, or nullptr while no text is shown.
    CTextView* TextView() const;
    bool ShowsText() const;
    // Whether a picture larger than the pane is shown scaled down into it.
    bool FitsPicture() const;
    // The scale a picture is drawn at: 1 for 1:1, less when it is fitted.
    double PictureScale() const;

    std::int32_t m_nBitsPerPixel = 0;
    std::int32_t m_bPreviewActive = 0;
    std::int32_t m_bPreviewable = 0;
    std::int32_t m_nAniFrame = 0; // next frame to decode, from 0
    std::int32_t m_nAniFrameCount = 0;
    std::int32_t m_nAniFramePos = 0; // archive file offset of the next frame
    std::int32_t m_nAniFirstFramePos = 0;
    std::uint8_t m_byAniPackerCode = 0;
    std::int32_t m_nWidth = 0;
    std::int32_t m_nHeight = 0; // 0: no picture
    std::int32_t m_bWavLoaded = 0;
    std::array<PaletteEntry, 256> m_palette{};
    // The picture's pixel rows or the sound image being played; one buffer serves both.
    std::vector<std::uint8_t> m_pData;
    std::string m_strArchivePath;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Each reads the entry from the file itself; a failed load leaves the pane waiting with
    // its prompt.
    bool LoadPcx(const EntrySource& source);
    bool LoadAni(const EntrySource& source);
    bool LoadTga(const EntrySource& source);
    void ShowPicture(DecodedPicture&& picture);
    bool PlayWav(const EntrySource& source);
    void StopSound();
    // Hands the entry to the presenter of its kind; false when it refuses it.
    bool StartPresenter(const PreviewKind& kind, const EntrySource& source);
    IPreviewPresenter& PresenterFor(const PreviewKind& kind);
    // The presenter's picture, caption or widget changed.
    void PresenterChanged();
    // A picture 1:1 from the top-left, scrolled, or scaled down into the pane.
    void DrawPicture(QPainter& painter, const QImage& image, const QRect& exposed);
    QSize ShownPictureSize() const;
    void SetScrollSizes(QSize total);
    void UpdateScrollBars();
    void UpdateViewer();
    void OnMipRequested(int nMip, int nFace);
    // "Playing WAV..." or the presenter's line while a sound is loaded, else empty.
    QString SoundText() const;
    void FreeData();
    ISoundOutput& SoundOutput();

    CORBISTAVDoc& m_doc;
    const AppSettings& m_settings;
    EntrySource m_source;            // the entry previewed last
    std::int64_t m_nAniEntryEnd = 0; // frames are never read past their entry
    // A compressed animation's content, held until the preview stops; empty: frames are
    // read from the archive file.
    std::vector<std::uint8_t> m_aniContent;
    int m_nAniInterval = 0;
    QSize m_scrollSize{1, 1};
    QImage m_fitted; // the picture scaled into the pane; null: scaled again when drawn
    std::function<void(const QString&)> m_captionHandler;
    std::unique_ptr<ISoundOutput> m_pSoundOutput; // made on the first sound
    QBasicTimer m_aniTimer;                       // the animation's frame timer
    CDocumentTextures m_documentTextures;
    ITextureResolver* m_pTextures = nullptr; // nullptr: m_documentTextures
    PresenterHost m_host;
    // One presenter per row's make, made when its kind is first shown.
    std::vector<std::pair<const void*, std::unique_ptr<IPreviewPresenter>>> m_presenters;
    IPreviewPresenter* m_pPresenter = nullptr; // the one showing, if any
    QString m_strEntryName;                    // the entry previewed last, for the viewer's title
    QPointer<CPreviewViewer> m_pViewer;
};
