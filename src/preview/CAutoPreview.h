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
#include "CEntryReader.h"
#include "CModelPresenter.h"
#include "CPicturePresenter.h"
#include "CTableHighlighter.h"
#include "Picture.h"
#include "Settings.h"

class CORBISTAVDoc;
class CPreviewViewer;
class CTextView;
class ISoundOutput;

// The black preview pane below the preview toolbar: shows or plays the selected entry of
// the open archive without extracting it.
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
    // Opens the viewer window on what the pane shows, or brings it forward; it then follows
    // every preview until it is closed.
    void OpenViewer();
    CPreviewViewer* Viewer() const;
    // The DDS, PNG or JPG picture shown, empty for every other kind.
    const CPicturePresenter& PicturePresenter() const { return m_picture; }
    // The POF model shown, empty for every other kind.
    const CModelPresenter& ModelPresenter() const { return m_model; }
    // The text shown, or nullptr before the first text.
    CTextView* TextView() const { return m_pTextView; }
    bool ShowsText() const;

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
    std::int32_t m_bOggLoaded = 0; // an OGG sound plays, decoded as it goes
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
    // Each reads the entry from the archive file itself; a failed load leaves the pane
    // waiting with its prompt.
    bool LoadPcx(const std::string& path, std::int32_t nOffset, std::int32_t nSize);
    bool LoadAni(const std::string& path, std::int32_t nOffset, std::int32_t nSize);
    bool LoadTga(const std::string& path, std::int32_t nOffset, std::int32_t nSize);
    void ShowPicture(DecodedPicture&& picture);
    // The picture scrolls when it is larger than the pane.
    void SetScrollSizes(QSize total);
    void UpdateScrollBars();
    bool PlayWav(const std::string& path, std::int32_t nOffset, std::int32_t nSize,
                 const std::string& name, const std::string& dirPath);
    void StopSound();
    // DDS, PNG and JPG pictures, shown like a TGA.
    bool LoadPicture(int nType, const std::string& path, std::int32_t nOffset, std::int32_t nSize);
    bool PlayOgg(const std::string& path, std::int32_t nOffset, std::int32_t nSize,
                 const std::string& name, const std::string& dirPath);
    // A POF model drawn at the pane's size, with the textures the archive holds.
    bool LoadModel(const std::string& path, std::int32_t nOffset, std::int32_t nSize);
    // Tables, missions and the other text kinds; false for bytes that are no text.
    bool ShowText(const std::string& path, std::int32_t nOffset, std::int32_t nSize, bool bLua);
    void HideText();
    void UpdateViewer();
    void OnMipRequested(int nMip, int nFace);
    // "Playing WAV..." or "Playing OGG..." while a sound is loaded, else empty.
    QString SoundText() const;
    void FreeData();
    CEntryReader::Mode ContentMode() const;

    CORBISTAVDoc& m_doc;
    const AppSettings& m_settings;
    std::int64_t m_nAniEntryEnd = 0; // frames are never read past their entry
    // A compressed animation's content, held until the preview stops; empty: frames are
    // read from the archive file.
    std::vector<std::uint8_t> m_aniContent;
    int m_nAniInterval = 0;
    QSize m_scrollSize{1, 1};
    std::function<void(const QString&)> m_captionHandler;
    std::unique_ptr<ISoundOutput> m_pSoundOutput; // made on the first sound
    QBasicTimer m_aniTimer;                       // the animation's frame timer
    CPicturePresenter m_picture;
    CModelPresenter m_model;
    CTextView* m_pTextView = nullptr; // made on the first text, over the viewport
    QString m_text;                   // the text shown, for the viewer
    TextSyntax m_textSyntax = TextSyntax::Table;
    QString m_strEntryName; // the entry previewed last, for the viewer's title
    QPointer<CPreviewViewer> m_pViewer;
};
