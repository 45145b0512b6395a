#include "CPreviewViewer.h"

#include <cmath>

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QStackedWidget>
#include <QStringList>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "CModelCanvas.h"
#include "CPictureCanvas.h"
#include "CTextView.h"
#include "RegistryAccess.h"
#include "Settings.h"

namespace
{
constexpr const char* kGeometryValue = "Geometry";
const QStringList kFaceNames = {"+X", "-X", "+Y", "-Y", "+Z", "-Z"};

// Beside the program's settings key, so the seven settings stay as they are.
std::string ViewerKey()
{
    return GetProgramKey() + "\\Viewer";
}

QAction* AddButton(QToolBar* pBar, const QString& text, const QString& tip,
                   const QKeySequence& key = QKeySequence())
{
    QAction* pAction = pBar->addAction(text);
    pAction->setToolTip(key.isEmpty() ? tip
                                      : tip + " (" + key.toString(QKeySequence::NativeText) + ")");
    if (!key.isEmpty())
    {
        pAction->setShortcut(key);
        pAction->setShortcutContext(Qt::WindowShortcut);
    }
    return pAction;
}
} // namespace

CPreviewViewer::CPreviewViewer(QWidget* pParent) : QWidget(pParent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    SetTitle(QString());
    resize(800, 600);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);

    m_pPictureTools = new QWidget(this);
    auto* pToolsLayout = new QHBoxLayout(m_pPictureTools);
    pToolsLayout->setContentsMargins(4, 2, 4, 2);
    auto* pBar = new QToolBar(m_pPictureTools);
    pBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_pFitAction =
        AddButton(pBar, tr("Fit"), tr("Fit the picture into the window"), QKeySequence(Qt::Key_F));
    m_pFitAction->setCheckable(true);
    m_pFitAction->setChecked(true);
    QAction* pActual = AddButton(pBar, tr("1:1"), tr("Actual size"), QKeySequence(Qt::Key_1));
    QAction* pZoomIn = AddButton(pBar, tr("Zoom in"), tr("Zoom in (+, mouse wheel)"));
    QAction* pZoomOut = AddButton(pBar, tr("Zoom out"), tr("Zoom out (-, mouse wheel)"));
    pBar->addSeparator();
    m_pIgnoreAlphaAction =
        AddButton(pBar, tr("Ignore alpha"), tr("Show the colour channels without transparency"),
                  QKeySequence(Qt::Key_A));
    m_pIgnoreAlphaAction->setCheckable(true);
    m_pInvertAlphaAction = AddButton(
        pBar, tr("Invert alpha"), tr("Read the 1-bit alpha the other way round (set: transparent)"),
        QKeySequence(Qt::Key_I));
    m_pInvertAlphaAction->setCheckable(true);
    m_pInvertAlphaAction->setVisible(false);
    pToolsLayout->addWidget(pBar);
    m_pZoomLabel = new QLabel(m_pPictureTools);
    m_pZoomLabel->setMinimumWidth(m_pZoomLabel->fontMetrics().horizontalAdvance("10000 %"));
    pToolsLayout->addWidget(m_pZoomLabel);
    pToolsLayout->addSpacing(12);
    m_pMipLabel = new QLabel(tr("&Mip level:"), m_pPictureTools);
    m_pMipBox = new QComboBox(m_pPictureTools);
    m_pMipLabel->setBuddy(m_pMipBox);
    m_pFaceLabel = new QLabel(tr("F&ace:"), m_pPictureTools);
    m_pFaceBox = new QComboBox(m_pPictureTools);
    m_pFaceLabel->setBuddy(m_pFaceBox);
    pToolsLayout->addWidget(m_pMipLabel);
    pToolsLayout->addWidget(m_pMipBox);
    pToolsLayout->addWidget(m_pFaceLabel);
    pToolsLayout->addWidget(m_pFaceBox);
    pToolsLayout->addStretch(1);
    pLayout->addWidget(m_pPictureTools);

    m_pModelTools = new QWidget(this);
    auto* pModelLayout = new QHBoxLayout(m_pModelTools);
    pModelLayout->setContentsMargins(4, 2, 4, 2);
    auto* pModelBar = new QToolBar(m_pModelTools);
    pModelBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_pWireframeAction = AddButton(pModelBar, tr("Wireframe"), tr("Draw the polygons' edges only"),
                                   QKeySequence(Qt::Key_W));
    m_pWireframeAction->setCheckable(true);
    m_pTexturesAction =
        AddButton(pModelBar, tr("Textures"), tr("Draw the textures the archive holds"),
                  QKeySequence(Qt::Key_T));
    m_pTexturesAction->setCheckable(true);
    m_pTexturesAction->setChecked(true);
    QAction* pResetView =
        AddButton(pModelBar, tr("Reset view"), tr("Back to the first view (double-click)"),
                  QKeySequence(Qt::Key_Home));
    pModelLayout->addWidget(pModelBar);
    pModelLayout->addWidget(new QLabel(tr("Drag to turn, wheel to zoom"), m_pModelTools));
    pModelLayout->addStretch(1);
    pLayout->addWidget(m_pModelTools);

    m_pStack = new QStackedWidget(this);
    m_pMessage = new QLabel(m_pStack);
    m_pMessage->setAlignment(Qt::AlignCenter);
    m_pMessage->setAutoFillBackground(true);
    QPalette dark = m_pMessage->palette();
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    m_pMessage->setPalette(dark);
    m_pCanvas = new CPictureCanvas(m_pStack);
    m_pTextView = new CTextView(m_pStack);
    m_pTextView->SetFindEnabled(true);
    m_pStack->addWidget(m_pMessage);
    m_pStack->addWidget(m_pCanvas);
    m_pStack->addWidget(m_pTextView);
    m_pModelCanvas = new CModelCanvas(m_pStack);
    m_pStack->addWidget(m_pModelCanvas);
    pLayout->addWidget(m_pStack, 1);

    m_pCaption = new QLabel(this);
    m_pCaption->setContentsMargins(6, 2, 6, 2);
    pLayout->addWidget(m_pCaption);

    connect(m_pFitAction, &QAction::toggled, m_pCanvas,
            [this](bool bFit)
            {
                if (bFit)
                    m_pCanvas->SetFit(true);
                else
                    m_pCanvas->SetZoom(1.0);
            });
    connect(pActual, &QAction::triggered, m_pCanvas, [this] { m_pCanvas->SetZoom(1.0); });
    connect(pZoomIn, &QAction::triggered, m_pCanvas, [this] { m_pCanvas->ZoomBy(1); });
    connect(pZoomOut, &QAction::triggered, m_pCanvas, [this] { m_pCanvas->ZoomBy(-1); });
    connect(m_pIgnoreAlphaAction, &QAction::toggled, m_pCanvas, &CPictureCanvas::SetIgnoreAlpha);
    connect(m_pInvertAlphaAction, &QAction::triggered, this,
            &CPreviewViewer::AlphaInversionRequested);
    connect(m_pCanvas, &CPictureCanvas::ZoomChanged, this, &CPreviewViewer::UpdateZoomLabel);
    connect(m_pWireframeAction, &QAction::toggled, m_pModelCanvas, &CModelCanvas::SetWireframe);
    connect(m_pTexturesAction, &QAction::toggled, m_pModelCanvas, &CModelCanvas::SetTextures);
    connect(pResetView, &QAction::triggered, m_pModelCanvas, &CModelCanvas::ResetView);
    const auto requestMip = [this]
    {
        if (!m_bFillingChoices)
            emit MipRequested(std::max(0, m_pMipBox->currentIndex()),
                              std::max(0, m_pFaceBox->currentIndex()));
    };
    connect(m_pMipBox, &QComboBox::currentIndexChanged, this, requestMip);
    connect(m_pFaceBox, &QComboBox::currentIndexChanged, this, requestMip);

    ShowMessage(QString(), QString());
}

CPreviewViewer::~CPreviewViewer()
{
    if (isVisible())
        SaveGeometryValue(geometry());
}

void CPreviewViewer::SetTitle(const QString& title)
{
    setWindowTitle(title.isEmpty() ? tr("ORBISTAV Viewer") : tr("ORBISTAV Viewer - ") + title);
}

void CPreviewViewer::ShowPicture(const QString& title, const QImage& image, const QString& caption,
                                 int nMipCount, int nFaceCount, int nMip, int nFace)
{
    SetTitle(title);
    m_pCanvas->SetImage(image);
    ShowPage(m_pCanvas);
    m_pIgnoreAlphaAction->setEnabled(image.hasAlphaChannel());
    m_pInvertAlphaAction->setVisible(false);

    m_bFillingChoices = true;
    m_pMipBox->clear();
    for (int i = 0; i < nMipCount; ++i)
        m_pMipBox->addItem(QString::number(i));
    m_pMipBox->setCurrentIndex(nMip);
    m_pFaceBox->clear();
    for (int i = 0; i < nFaceCount; ++i)
        m_pFaceBox->addItem(nFaceCount == 6 ? kFaceNames[i] : QString::number(i));
    m_pFaceBox->setCurrentIndex(nFace);
    m_bFillingChoices = false;
    m_pMipLabel->setVisible(nMipCount > 1);
    m_pMipBox->setVisible(nMipCount > 1);
    m_pFaceLabel->setVisible(nFaceCount > 1);
    m_pFaceBox->setVisible(nFaceCount > 1);

    m_pCaption->setText(caption);
    UpdateZoomLabel(m_pCanvas->Zoom());
}

void CPreviewViewer::OfferAlphaInversion(bool bOffered, bool bInverted)
{
    m_pInvertAlphaAction->setVisible(bOffered);
    m_pInvertAlphaAction->setChecked(bInverted);
}

void CPreviewViewer::ShowText(const QString& title, const QString& text, TextSyntax syntax)
{
    SetTitle(title);
    m_pTextView->SetText(text, syntax);
    ShowPage(m_pTextView);
    m_pCaption->setText(LineCountCaption(text));
}

void CPreviewViewer::ShowModel(const QString& title, std::shared_ptr<const ModelScene> pScene,
                               const QString& caption)
{
    SetTitle(title);
    m_pModelCanvas->SetScene(std::move(pScene));
    ShowPage(m_pModelCanvas);
    m_pCaption->setText(caption);
}

void CPreviewViewer::ShowMessage(const QString& title, const QString& text)
{
    SetTitle(title);
    m_pMessage->setText(text.isEmpty() ? tr("Nothing is being previewed.") : text);
    ShowPage(m_pMessage);
    m_pCaption->clear();
}

void CPreviewViewer::ShowPage(QWidget* pPage)
{
    if (pPage != m_pCanvas)
        m_pCanvas->ClearImage();
    if (pPage != m_pTextView)
        m_pTextView->Clear();
    if (pPage != m_pModelCanvas)
        m_pModelCanvas->ClearScene();
    m_pStack->setCurrentWidget(pPage);
    m_pPictureTools->setVisible(pPage == m_pCanvas);
    m_pModelTools->setVisible(pPage == m_pModelCanvas);
}

QString CPreviewViewer::Caption() const
{
    return m_pCaption->text();
}

QString CPreviewViewer::Message() const
{
    return m_pStack->currentWidget() == m_pMessage ? m_pMessage->text() : QString();
}

bool CPreviewViewer::ShowsPicture() const
{
    return m_pStack->currentWidget() == m_pCanvas;
}

bool CPreviewViewer::ShowsText() const
{
    return m_pStack->currentWidget() == m_pTextView;
}

bool CPreviewViewer::ShowsModel() const
{
    return m_pStack->currentWidget() == m_pModelCanvas;
}

void CPreviewViewer::UpdateZoomLabel(double dZoom)
{
    m_pZoomLabel->setText(QString::number(std::lround(dZoom * 100.0)) + " %");
    const QSignalBlocker blocker(m_pFitAction);
    m_pFitAction->setChecked(m_pCanvas->IsFit());
}

void CPreviewViewer::showEvent(QShowEvent* pEvent)
{
    if (!m_bGeometryRestored)
    {
        m_bGeometryRestored = true;
        RestoreGeometry();
    }
    QWidget::showEvent(pEvent);
}

void CPreviewViewer::hideEvent(QHideEvent* pEvent)
{
    SaveGeometryValue(geometry());
    QWidget::hideEvent(pEvent);
}

void CPreviewViewer::RestoreGeometry()
{
    const QRect saved = ReadGeometryValue();
    if (!saved.isValid())
    {
        // The first time, over the middle of the main window.
        if (const QWidget* pMain = parentWidget() ? parentWidget()->window() : nullptr)
        {
            QRect placed(QPoint(), size());
            placed.moveCenter(pMain->geometry().center());
            move(placed.topLeft());
        }
        return;
    }
    // Only where it is still wholly on a screen: a monitor may have gone since.
    for (const QScreen* pScreen : QGuiApplication::screens())
        if (pScreen->availableGeometry().contains(saved))
        {
            setGeometry(saved);
            return;
        }
    resize(saved.size().boundedTo(screen()->availableGeometry().size()));
}

void CPreviewViewer::SaveGeometryValue(const QRect& geometry)
{
    const QString text = QString("%1,%2,%3,%4")
                             .arg(geometry.x())
                             .arg(geometry.y())
                             .arg(geometry.width())
                             .arg(geometry.height());
    WriteRegString(RegistryRoot::HKEY_CURRENT_USER, ViewerKey(), kGeometryValue,
                   text.toStdString());
}

QRect CPreviewViewer::ReadGeometryValue()
{
    const QStringList parts = QString::fromStdString(ReadRegString(RegistryRoot::HKEY_CURRENT_USER,
                                                                   ViewerKey(), kGeometryValue))
                                  .split(',');
    if (parts.size() != 4)
        return QRect();
    int values[4];
    for (int i = 0; i < 4; ++i)
    {
        bool bOk = false;
        values[i] = parts[i].trimmed().toInt(&bOk);
        if (!bOk)
            return QRect();
    }
    if (values[2] < 200 || values[3] < 150)
        return QRect();
    return QRect(values[0], values[1], values[2], values[3]);
}
