#include <gtest/gtest.h>

#include <QStyle>

#include "DialogUnits.h"
#include "FileTypes.h"
#include "ViewsTestSupport.h"
#include "VpBuilder.h"
#include "VppBuilder.h"

namespace
{
// 1 October 2001, 08:05:09 UTC; the tests run with TZ=UTC.
constexpr std::int32_t kOctoberFirst = 1001923509;

VpBuilder DataTree()
{
    VpBuilder vp;
    vp.File("readme.txt", "root", kOctoberFirst)
        .Dir("data")
        .File("zeta.tbl", "#Z", kOctoberFirst)
        .Dir("tables")
        .File("ships.tbl", "#Ship Classes")
        .Up()
        .File("alpha.pcx", "PCX")
        .Dir("maps")
        .File("caf\xe9.pcx", "PCX")
        .Up()
        .Up();
    return vp;
}

struct ViewsFileList : ::testing::Test, ViewsFixture
{
};

// Collects what QAbstractItemModelTester reports.
QStringList g_modelWarnings;
void RecordWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_modelWarnings << text;
}
} // namespace

TEST_F(ViewsFileList, WithoutArchiveShowsOnlyTheHintRow)
{
    EXPECT_EQ(Headers(), QStringList{"No file loaded."});
    EXPECT_EQ(list.horizontalHeader()->sectionSize(0), ScaleTextWidth(300, list.font()));
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(Text(0, 0), "Open a .VP or .VPP archive via the 'File' menu.");
    EXPECT_FALSE(list.model()->index(0, 0).data(Qt::DecorationRole).isValid());

    // Selecting it (Ctrl+A, a click) hands nothing to the preview and maps to no file.
    list.SelectAllRows();
    EXPECT_EQ(list.SelectedRows(), std::vector<int>{0});
    EXPECT_TRUE(host.previews.empty());
    EXPECT_EQ(list.m_aRowIsFolder[0], 1);
}

TEST_F(ViewsFileList, ColumnsFollowTheArchiveKind)
{
    Load(DataTree().Bytes());
    EXPECT_EQ(Headers(), (QStringList{"Filename", "Type", "Size", "Date & Time"}));
    const int aVpWidths[] = {200, 120, 70, 100};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(list.horizontalHeader()->sectionSize(c),
                  ScaleTextWidth(aVpWidths[c], list.font()))
            << c;
    // The widths were made for 8-point Tahoma; a whole date still fits in the wider font.
    const int nCellMargins =
        2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1);
    EXPECT_GE(list.horizontalHeader()->sectionSize(3),
              list.fontMetrics().horizontalAdvance("10/1/2001 08:05:09") + nCellMargins);

    const auto alignment = [&](int c, bool bHeader)
    {
        const QVariant v = bHeader
                               ? list.model()->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole)
                               : list.model()->index(0, c).data(Qt::TextAlignmentRole);
        return Qt::Alignment(v.toInt()) & Qt::AlignHorizontal_Mask;
    };
    for (const bool bHeader : {true, false})
    {
        EXPECT_EQ(alignment(0, bHeader), Qt::AlignLeft);
        EXPECT_EQ(alignment(1, bHeader), Qt::AlignLeft);
        EXPECT_EQ(alignment(2, bHeader), Qt::AlignRight);
        EXPECT_EQ(alignment(3, bHeader), Qt::AlignLeft);
    }

    // A user's column width stays over refills of one archive, not into the next.
    list.horizontalHeader()->resizeSection(0, 321);
    list.ShowDirectory(-1);
    EXPECT_EQ(list.horizontalHeader()->sectionSize(0), 321);

    Load(VppBuilder().File("a.tga", "x").Bytes(), "/x/test.vpp");
    EXPECT_EQ(Headers(), (QStringList{"Filename", "Type", "Size"}));
    EXPECT_EQ(list.horizontalHeader()->sectionSize(0), ScaleTextWidth(200, list.font()));
    EXPECT_EQ(list.model()->index(0, 3).data().toString(), QString());
}

TEST_F(ViewsFileList, RowsAreCompactAndHeaderClicksDoNotSort)
{
    Load(DataTree().Bytes());
    Show();
    // The style's default would be about 30 pixels a row.
    EXPECT_LT(list.rowHeight(0), 30);
    EXPECT_GE(list.rowHeight(0), list.fontMetrics().height());
    EXPECT_FALSE(list.verticalHeader()->isVisible());
    EXPECT_TRUE(list.horizontalHeader()->isVisible());

    // Column headers are no buttons: a click neither sorts nor selects.
    const QStringList before = Column(0);
    QHeaderView* pHeader = list.horizontalHeader();
    EXPECT_FALSE(pHeader->sectionsClickable());
    QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(pHeader->sectionViewportPosition(0) + 10, pHeader->height() / 2));
    EXPECT_EQ(Column(0), before);
    EXPECT_TRUE(list.SelectedRows().empty());
}

TEST_F(ViewsFileList, SizesInKilobytesOrBytes)
{
    settings.m_bInterfaceDisplayAsKB = 1;
    EXPECT_EQ(list.FormatFileSize(0), "1 kB");
    EXPECT_EQ(list.FormatFileSize(1024), "1 kB");
    EXPECT_EQ(list.FormatFileSize(2047), "1 kB");
    EXPECT_EQ(list.FormatFileSize(2048), "2 kB");
    EXPECT_EQ(list.FormatFileSize(3071), "2 kB");
    settings.m_bInterfaceDisplayAsKB = 0;
    EXPECT_EQ(list.FormatFileSize(0), "0");
    EXPECT_EQ(list.FormatFileSize(1024), "1024");
    EXPECT_EQ(list.FormatFileSize(2047), "2047");
    EXPECT_EQ(list.FormatFileSize(2048), "2048");

    VppBuilder vpp;
    vpp.File("one.tga", std::string(1, 'x'))
        .File("kilo.tga", std::string(1024, 'x'))
        .File("most.tga", std::string(2047, 'x'))
        .File("two.tga", std::string(2048, 'x'));
    settings.m_bInterfaceDisplayAsKB = 1;
    Load(vpp.Bytes(), "/x/test.vpp");
    EXPECT_EQ(Column(2), (QStringList{"1 kB", "1 kB", "1 kB", "2 kB"}));

    // Texts are made when rows are painted; they keep the setting of their fill.
    settings.m_bInterfaceDisplayAsKB = 0;
    EXPECT_EQ(Column(2), (QStringList{"1 kB", "1 kB", "1 kB", "2 kB"}));
    tree.ShowSelection();
    EXPECT_EQ(Column(2), (QStringList{"1", "1024", "2047", "2048"}));
}

TEST_F(ViewsFileList, DirectoryShowsFoldersFirstThenFilesInArchiveOrder)
{
    Load(DataTree().Bytes());
    list.ShowDirectory(1);
    EXPECT_EQ(Column(0), (QStringList{"tables", "maps", "zeta.tbl", "alpha.pcx"}));
    EXPECT_EQ(Column(1), (QStringList{"Folder", "Folder", "Table file", "PCX graphic"}));
    EXPECT_EQ(Text(0, 2), "");
    EXPECT_EQ(Text(0, 3), "");
    EXPECT_EQ(Text(2, 2), "1 kB");
    EXPECT_EQ(Text(2, 3), "10/1/2001 08:05:09");
    EXPECT_EQ(Text(3, 3), ""); // time 0
    EXPECT_EQ(CORBISTAVView::FormatFileTime(0), "");
    EXPECT_EQ(RowFolders(), (std::vector<int>{1, 1, 0, 0}));
    EXPECT_EQ(RowIndices(), (std::vector<int>{2, 3, 1, 3}));

    const auto pictureColour = [&](int r)
    {
        const QVariant v = list.model()->index(r, 0).data(Qt::DecorationRole);
        return v.value<QPixmap>().toImage().pixelColor(8, 8);
    };
    EXPECT_EQ(pictureColour(0), QColor(Qt::yellow));
    EXPECT_EQ(pictureColour(2), QColor(Qt::blue));

    // Names are Windows-1252 bytes.
    list.ShowDirectory(3);
    EXPECT_EQ(Column(0), QStringList{QString::fromUtf8("caf\xc3\xa9.pcx")});
}

TEST_F(ViewsFileList, AllFilesNameTheirDirectory)
{
    Load(DataTree().Bytes());
    list.ShowDirectory(-1);
    EXPECT_EQ(Column(0), (QStringList{"readme.txt in ", "zeta.tbl in \\data",
                                      "ships.tbl in \\data\\tables", "alpha.pcx in \\data",
                                      QString::fromUtf8("caf\xc3\xa9.pcx in \\data\\maps")}));
    EXPECT_EQ(RowIndices(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(RowFolders(), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST_F(ViewsFileList, ArchiveWithoutFilesShowsAnEmptyList)
{
    VpBuilder vp;
    vp.Dir("data").Dir("tables").Up().Up();
    Load(vp.Bytes());
    EXPECT_EQ(list.RowCount(), 0);
    for (const int d : {0, 1, -1})
    {
        list.ShowDirectory(d);
        EXPECT_EQ(list.RowCount(), 0) << d;
    }
}

TEST_F(ViewsFileList, VppListsByNameAndFiltersByType)
{
    VppBuilder vpp;
    vpp.File("a.tga", "1").File("b.wav", "2").File("c.tga", "3");
    Load(vpp.Bytes(), "/x/test.vpp");
    EXPECT_EQ(Column(0), (QStringList{"a.tga", "b.wav", "c.tga"}));

    list.ShowType(FILE_TYPE_TGA);
    EXPECT_EQ(Column(0), (QStringList{"a.tga", "c.tga"}));
    EXPECT_EQ(RowIndices(), (std::vector<int>{0, 2}));
    EXPECT_EQ(Column(1), (QStringList{"TGA graphic", "TGA graphic"}));

    list.ShowType(FILE_TYPE_WAV);
    EXPECT_EQ(RowIndices(), std::vector<int>{1});
    list.ShowType(FILE_TYPE_PCX);
    EXPECT_EQ(list.RowCount(), 0);
}

TEST_F(ViewsFileList, DirectoryBeyondTheRowArraysShowsItsFirstRows)
{
    // One subdirectory and a full file table in the root: 16385 rows would be due.
    VpBuilder vp;
    vp.Dir("sub").Up();
    for (int f = 0; f < MAX_FILES; ++f)
        vp.RawEntry(16, 10, "f" + std::to_string(f) + ".tbl");
    Load(vp.Bytes());
    list.ShowDirectory(0);
    ASSERT_EQ(list.RowCount(), MAX_FILES);
    EXPECT_EQ(list.m_aRowIsFolder[0], 1);
    EXPECT_EQ(list.m_aRowIndex[MAX_FILES - 1], MAX_FILES - 2);
    EXPECT_EQ(Text(MAX_FILES - 1, 0), QString("f%1.tbl").arg(MAX_FILES - 2));
    EXPECT_FALSE(list.model()->index(MAX_FILES, 0).isValid());

    list.ShowDirectory(-1);
    EXPECT_EQ(list.RowCount(), MAX_FILES);
}

TEST_F(ViewsFileList, GridSettingTakesEffectAtTheNextFill)
{
    Load(DataTree().Bytes());
    EXPECT_TRUE(list.showGrid());
    settings.m_bInterfaceShowGrid = 0;
    EXPECT_TRUE(list.showGrid());
    tree.ShowSelection();
    EXPECT_FALSE(list.showGrid());
    settings.m_bInterfaceShowGrid = 7;
    list.ShowDirectory(-1);
    EXPECT_TRUE(list.showGrid());
}

TEST_F(ViewsFileList, OneSelectedFileRowStartsItsPreview)
{
    Load(DataTree().Bytes());
    list.ShowDirectory(1); // tables, maps, zeta.tbl, alpha.pcx
    Show();

    ClickRow(3);
    ASSERT_EQ(host.previews.size(), 1u);
    EXPECT_EQ(host.previews[0], std::make_pair(3, false));

    // A second selected row starts nothing; taking it away again leaves one file row,
    // which starts its preview once more.
    ClickRow(2, Qt::ControlModifier);
    EXPECT_EQ(host.previews.size(), 1u);
    ClickRow(2, Qt::ControlModifier);
    ASSERT_EQ(host.previews.size(), 2u);
    EXPECT_EQ(host.previews[1].first, 3);

    // A folder row alone starts nothing.
    ClickRow(0);
    EXPECT_EQ(host.previews.size(), 2u);
    EXPECT_EQ(list.SelectedRows(), std::vector<int>{0});

    // Shift-click over a range: several rows.
    ClickRow(3, Qt::ShiftModifier);
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(host.previews.size(), 2u);
}

TEST_F(ViewsFileList, SelectAllRowsTakesFolderRowsAndLeavesTheCurrentRow)
{
    Load(DataTree().Bytes());
    list.ShowDirectory(1);
    list.setCurrentIndex(list.model()->index(2, 0));
    host.previews.clear();

    list.SelectAllRows();
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(list.currentIndex().row(), 2);
    EXPECT_TRUE(host.previews.empty());

    // A refill drops the selection.
    tree.ShowSelection();
    EXPECT_TRUE(list.SelectedRows().empty());
}

TEST_F(ViewsFileList, DoubleClickOpensOnlyWithOneSelectedRow)
{
    Load(DataTree().Bytes());
    list.ShowDirectory(1);
    Show();

    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(2));
    EXPECT_EQ(list.SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(host.nOpens, 1);

    // The frame's count decides, as for F3.
    host.nFixedCount = 2;
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(2));
    EXPECT_EQ(host.nOpens, 1);
    host.nFixedCount = -1;

    QTest::mouseDClick(list.viewport(), Qt::RightButton, Qt::NoModifier, RowCentre(2));
    EXPECT_EQ(host.nOpens, 1);

    // A folder row goes to the frame as well; the open command refuses it.
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(0));
    EXPECT_EQ(host.nOpens, 2);
}

TEST_F(ViewsFileList, ModelStaysConsistentOverEveryKindOfFill)
{
    g_modelWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(RecordWarnings);
    {
        QAbstractItemModelTester tester(list.model(),
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        Load(DataTree().Bytes());
        list.ShowDirectory(1);
        list.ShowDirectory(-1);
        list.ShowDirectory(3);
        Load(VppBuilder().File("a.tga", "1").File("b.wav", "2").Bytes(), "/x/test.vpp");
        list.ShowType(FILE_TYPE_WAV);
        list.ShowType(-1);
        doc->m_nArchiveKind = ARCHIVE_KIND_NONE;
        list.SetupColumns();
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_modelWarnings.isEmpty()) << g_modelWarnings.join('\n').toStdString();
    EXPECT_EQ(list.RowCount(), 1);
}
