#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "ResourceImages.h"

namespace
{
QString SourcePath(const QString& relative)
{
    return QDir(QStringLiteral(ORBISTAV_SOURCE_DIR)).filePath(relative);
}

const QString kDesktopFile = QStringLiteral("share/applications/orbistav.desktop");
const QString kMimeFile = QStringLiteral("share/mime/packages/orbistav.xml");
const QSet<QString> kMimeTypes = {QStringLiteral("application/x-vp-archive"),
                                  QStringLiteral("application/x-vpp-archive")};

QSet<QString> List(const QString& value)
{
    const QStringList items = value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return QSet<QString>(items.begin(), items.end());
}

// Runs a checker of the platform when it is installed; the project does not need it.
void RunIfInstalled(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        GTEST_SKIP() << program.toStdString() << " is not installed";
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(path, arguments);
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(process.readAll());
    EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("error"), Qt::CaseInsensitive))
        << output.toStdString();
}
} // namespace

TEST(PreviewDesktopFiles, DesktopEntryStartsTheProgramForBothArchiveTypes)
{
    QFile file(SourcePath(kDesktopFile));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.value(0), QStringLiteral("[Desktop Entry]"));
    std::map<QString, QString> keys;
    for (const QString& line : lines.mid(1))
    {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            keys[line.left(eq)] = line.mid(eq + 1);
    }
    EXPECT_EQ(keys["Type"], QStringLiteral("Application"));
    EXPECT_EQ(keys["Name"], QStringLiteral("ORBISTAV"));
    EXPECT_EQ(keys["GenericName"], QStringLiteral("Game archive browser"));
    EXPECT_FALSE(keys["Comment"].isEmpty());
    EXPECT_EQ(keys["Exec"], QStringLiteral("orbistav %f"));
    EXPECT_EQ(keys["Icon"], QStringLiteral("orbistav"));
    EXPECT_EQ(keys["Terminal"], QStringLiteral("false"));
    EXPECT_EQ(List(keys["MimeType"]), kMimeTypes);
    EXPECT_EQ(List(keys["Categories"]),
              (QSet<QString>{QStringLiteral("Game"), QStringLiteral("Utility"),
                             QStringLiteral("Archiving")}));
    RunIfInstalled(QStringLiteral("desktop-file-validate"), {SourcePath(kDesktopFile)});
}

TEST(PreviewDesktopFiles, MimePackageRecognisesBothArchiveTypes)
{
    struct Type
    {
        QStringList globs;
        QString comment, magic;
    };
    std::map<QString, Type> types;
    QFile file(SourcePath(kMimeFile));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString current;
    while (!xml.atEnd())
    {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        EXPECT_EQ(xml.namespaceUri(),
                  QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
        const auto a = xml.attributes();
        if (xml.name() == QStringLiteral("mime-type"))
            current = a.value(QStringLiteral("type")).toString();
        else if (xml.name() == QStringLiteral("comment"))
            types[current].comment = xml.readElementText();
        else if (xml.name() == QStringLiteral("glob"))
        {
            // Archives come as "DATA.VP" as well as "data.vp".
            EXPECT_NE(a.value(QStringLiteral("case-sensitive")), QStringLiteral("true"));
            types[current].globs << a.value(QStringLiteral("pattern")).toString();
        }
        else if (xml.name() == QStringLiteral("match"))
            types[current].magic = QStringList{a.value(QStringLiteral("type")).toString(),
                                               a.value(QStringLiteral("offset")).toString(),
                                               a.value(QStringLiteral("value")).toString()}
                                       .join(QLatin1Char(' '));
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    ASSERT_EQ(types.size(), 2u);

    const Type& vp = types[QStringLiteral("application/x-vp-archive")];
    EXPECT_EQ(vp.globs, QStringList({QStringLiteral("*.vp"), QStringLiteral("*.vpc")}));
    EXPECT_EQ(vp.magic, QStringLiteral("string 0 VPVP"));
    EXPECT_FALSE(vp.comment.isEmpty());
    // Read as a little-endian number, the bytes CE 0A 89 51.
    const Type& vpp = types[QStringLiteral("application/x-vpp-archive")];
    EXPECT_EQ(vpp.globs, QStringList{QStringLiteral("*.vpp")});
    EXPECT_EQ(vpp.magic, QStringLiteral("little32 0 0x51890ACE"));
    EXPECT_FALSE(vpp.comment.isEmpty());

    QTemporaryDir database;
    ASSERT_TRUE(QDir(database.path()).mkpath(QStringLiteral("packages")));
    ASSERT_TRUE(QFile::copy(SourcePath(kMimeFile), database.filePath("packages/orbistav.xml")));
    RunIfInstalled(QStringLiteral("update-mime-database"), {database.path()});
}

TEST(PreviewDesktopFiles, ThemeIconsAreTheCurrentProgramIcon)
{
    const QIcon icon = ApplicationIcon();
    for (int n : {16, 22, 24, 32, 48, 64, 128, 256})
    {
        SCOPED_TRACE(n);
        QImage stored;
        ASSERT_TRUE(stored.load(
            SourcePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/orbistav.png").arg(n))));
        ASSERT_EQ(stored.size(), QSize(n, n));
        // Stale PNGs are written anew by the orbistav_update_icons target.
        stored = stored.convertToFormat(QImage::Format_ARGB32);
        const QImage drawn =
            icon.pixmap(QSize(n, n)).toImage().convertToFormat(QImage::Format_ARGB32);
        int nDiffering = 0;
        for (int y = 0; y < n; ++y)
        {
            for (int x = 0; x < n; ++x)
            {
                const QRgb a = stored.pixel(x, y);
                const QRgb b = drawn.pixel(x, y);
                nDiffering +=
                    std::abs(qRed(a) - qRed(b)) > 8 || std::abs(qGreen(a) - qGreen(b)) > 8 ||
                    std::abs(qBlue(a) - qBlue(b)) > 8 || std::abs(qAlpha(a) - qAlpha(b)) > 8;
            }
        }
        EXPECT_LE(nDiffering, n * n / 100);
    }
}
