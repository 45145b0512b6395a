#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>
#include <cstdlib>

#include "CAutoPreview.h"
#include "CLeftView.h"
#include "CORBISTAVView.h"
#include "GuiTestSupport.h"
#include "MediaBuilders.h"
#include "PreviewFonts.h"
#include "VpBuilder.h"

namespace
{
// What the pane looks like with one line of its text at the top left.
QImage PaneWithText(QSize size, const QString& text)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    painter.setFont(TahomaFont(10));
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::black);
    painter.drawText(QRect(0, 0, 340, 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.end();
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}
} // namespace

TEST_F(GuiTest, SoundWithoutAudioDeviceShowsPlayingAndReportsNothing)
{
    ::setenv("SDL_AUDIODRIVER", "none", 1);
    VpBuilder()
        .Dir("data")
        .Dir("voice")
        .File("hail.wav", MakeWavPcm8(11025, std::vector<std::uint8_t>(4000, 0x40)))
        .Up()
        .Up()
        .WriteTo(world / "voice.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "voice.vp")));

    QTreeWidget* pTree = Frame().GetTreeView();
    pTree->setCurrentItem(pTree->topLevelItem(0)->child(0));
    CORBISTAVView* pList = Frame().GetListView();
    ASSERT_EQ(pList->model()->rowCount(), 1);
    pList->selectionModel()->select(pList->model()->index(0, 0),
                                    QItemSelectionModel::ClearAndSelect |
                                        QItemSelectionModel::Rows);

    CAutoPreview* pPane = Frame().GetPreview();
    EXPECT_EQ(pPane->m_bWavLoaded, 1);
    EXPECT_TRUE(Enabled(ID_STOP_PREVIEW));
    EXPECT_FALSE(Enabled(ID_PLAY_PREVIEW));
    QApplication::processEvents();
    const QImage shown = pPane->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, PaneWithText(shown.size(), QStringLiteral("Playing WAV...")));
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('\n').toStdString();

    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}
