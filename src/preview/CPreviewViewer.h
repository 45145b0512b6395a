#pragma once

#include <memory>

#include <QImage>
#include <QString>
#include <QWidget>

#include "CTableHighlighter.h"

// "1 line", "120 lines": the caption of a text.
inline QString LineCountCaption(const QString& text)
{
    const qsizetype nLines = text.isEmpty() ? 0 : text.count('\n') + (text.endsWith('\n') ? 0 : 1);
    return nLines == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(nLines);
}

class CModelCanvas;
class CPictureCanvas;
class CTextView;
struct ModelScene;
class QAction;
class QComboBox;
class QLabel;
class QStackedWidget;

// The resizable window that shows the entry being previewed at full size: pictures and
// animation frames with zoom and alpha, a DDS's mip levels and faces, text with find, models
// turned and zoomed with the mouse, filled or as wireframe, with or without textures. It
// only shows what the preview hands it; closing it changes nothing in the main window.
class CPreviewViewer : public QWidget
{
    Q_OBJECT

public:
    explicit CPreviewViewer(QWidget* pParent = nullptr);
    ~CPreviewViewer() override;

    // A picture with its alpha; nMipCount and nFaceCount above 1 offer a DDS's levels and
    // faces. The same-sized next frame of an animation keeps zoom and position.
    void ShowPicture(const QString& title, const QImage& image, const QString& caption,
                     int nMipCount = 1, int nFaceCount = 1, int nMip = 0, int nFace = 0);
    // Offers a switch of the picture's 1-bit alpha (a 1555 VBM), as it is now; every
    // other picture shown goes without it.
    void OfferAlphaInversion(bool bOffered, bool bInverted);
    void ShowText(const QString& title, const QString& text, TextSyntax syntax = TextSyntax::Table);
    // A model; the same scene shown again keeps the way it is turned.
    void ShowModel(const QString& title, std::shared_ptr<const ModelScene> pScene,
                   const QString& caption);
    // A line of text in place of content ("Playing OGG...", or nothing previewed).
    void ShowMessage(const QString& title, const QString& text);

    CPictureCanvas* Canvas() const { return m_pCanvas; }
    QAction* InvertAlphaAction() const { return m_pInvertAlphaAction; }
    CTextView* TextView() const { return m_pTextView; }
    CModelCanvas* ModelCanvas() const { return m_pModelCanvas; }
    QString Caption() const;
    QString Message() const;
    bool ShowsPicture() const;
    bool ShowsText() const;
    bool ShowsModel() const;

    // Registry value of the remembered geometry, "x,y,width,height".
    static void SaveGeometryValue(const QRect& geometry);
    static QRect ReadGeometryValue();

signals:
    void MipRequested(int nMip, int nFace);
    void AlphaInversionRequested(bool bInverted);

protected:
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    void SetTitle(const QString& title);
    // Shows one page of the stack with its tools, and lets go of what the others held.
    void ShowPage(QWidget* pPage);
    void UpdateZoomLabel(double dZoom);
    void RestoreGeometry();

    QStackedWidget* m_pStack = nullptr;
    QLabel* m_pMessage = nullptr;
    CPictureCanvas* m_pCanvas = nullptr;
    CTextView* m_pTextView = nullptr;
    QWidget* m_pPictureTools = nullptr;
    QAction* m_pFitAction = nullptr;
    QAction* m_pIgnoreAlphaAction = nullptr;
    QAction* m_pInvertAlphaAction = nullptr;
    QLabel* m_pZoomLabel = nullptr;
    QLabel* m_pMipLabel = nullptr;
    QComboBox* m_pMipBox = nullptr;
    QLabel* m_pFaceLabel = nullptr;
    QComboBox* m_pFaceBox = nullptr;
    QLabel* m_pCaption = nullptr;
    CModelCanvas* m_pModelCanvas = nullptr;
    QWidget* m_pModelTools = nullptr;
    QAction* m_pWireframeAction = nullptr;
    QAction* m_pTexturesAction = nullptr;
    bool m_bGeometryRestored = false;
    bool m_bFillingChoices = false;
};
