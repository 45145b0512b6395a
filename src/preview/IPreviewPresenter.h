#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QImage>
#include <QSize>
#include <QString>

#include "EntrySource.h"
#include "Result.h"

class CPreviewViewer;
class ISoundOutput;
class ITextureResolver;
class QPainter;
class QWidget;
struct AppSettings;

// What the pane lends its presenters.
struct PresenterHost
{
    QWidget* pViewport = nullptr; // the parent of a presenter's own widget
    const AppSettings* pSettings = nullptr;
    std::function<ISoundOutput&()> sound;        // made on the first sound
    std::function<ITextureResolver&()> textures; // where the entry's model finds its textures
    // The presenter's picture or caption changed by itself (the next frame of an animation).
    std::function<void()> changed;
};

// One kind of content of the preview pane beyond the original four: it takes an entry's
// bytes, shows a picture, draws itself or shows its own widget, stops, names what it shows in
// the caption and hands the viewer window what to show. It keeps its own state (frame timer,
// sound, mesh, text view, glyph sheet) until Stop.
class IPreviewPresenter
{
public:
    virtual ~IPreviewPresenter() = default;

    // Decodes the entry; a refusal leaves the presenter empty.
    virtual Result Load(std::vector<std::uint8_t> bytes, const EntrySource& entry) = 0;
    // Ends what is shown or played and lets go of it.
    virtual void Stop() = 0;
    virtual bool IsEmpty() const = 0;
    // Plays on its own (a sound, an animation): Stop/Close Preview is then offered.
    virtual bool IsActive() const { return false; }
    // A picture the pane shows as it shows a TGA (fitted or 1:1), colours without alpha.
    virtual QImage Picture() const { return QImage(); }
    // A tall picture read from the top (a font's sheet): fitted to the pane's width only and
    // scrolled down, not shrunk to a sliver.
    virtual bool FitsToWidth() const { return false; }
    // Anything else the presenter draws over the black pane, at the viewport's size.
    virtual void Paint(QPainter& /*painter*/, QSize /*size*/) {}
    // The line the pane writes in place of content ("Playing OGG...").
    virtual QString Message() const { return QString(); }
    virtual QString Caption() const = 0;
    virtual void ShowIn(CPreviewViewer& viewer, const QString& title) const = 0;
    // A widget of the presenter's own over the pane's viewport (text), else nullptr.
    virtual QWidget* Widget() const { return nullptr; }
    // What the viewer asks of the picture shown; false when this kind has no such thing.
    virtual bool SelectMip(int /*nMip*/, int /*nFace*/) { return false; }
    virtual bool SetAlphaInverted(bool /*bInverted*/) { return false; }
};
