#include "CConfigGamesDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "GameDirectories.h"
#include "SuiteAccess.h"

namespace
{
struct Edition
{
    int nGameId;
    int nEdition;
    const char* pszLabel;
};

constexpr Edition kEditions[] = {
    {GameFreeSpace1, EditionFull, "FreeSpace 1 (full version)"},
    {GameFreeSpace1, EditionOem, "FreeSpace 1 (OEM version)"},
    {GameFreeSpace1, EditionDemo, "FreeSpace 1 (demo)"},
    {GameFreeSpace2, EditionFull, "FreeSpace 2 (full version)"},
    {GameFreeSpace2, EditionDemo, "FreeSpace 2 (demo)"},
    {GameSummoner, EditionFull, "Summoner (full version)"},
    {GameSummoner, EditionDemo, "Summoner (demo)"},
};
} // namespace

CConfigGamesDialog::CConfigGamesDialog(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Configure game paths"));
    setObjectName(QStringLiteral("vxConfigGamesDialog"));

    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral("Where the games are installed, for every tool of the "
                                  "Vantorel suite. Leave a row empty for a game you do not have."),
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* grid = new QGridLayout;
    int line = 0;
    for (const Edition& e : kEditions)
    {
        const QString current = QString::fromStdString(GetGamePath(e.nGameId, e.nEdition));
        auto* label = new QLabel(QString::fromLatin1(e.pszLabel) + QLatin1Char(':'), this);
        auto* edit = new QLineEdit(current, this);
        edit->setObjectName(QString::fromStdString(GetGameLookupName(e.nGameId, e.nEdition)));
        edit->setMinimumWidth(320);
        edit->setClearButtonEnabled(true);
        label->setBuddy(edit);
        auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
        grid->addWidget(label, line, 0);
        grid->addWidget(edit, line, 1);
        grid->addWidget(browse, line, 2);
        m_rows.push_back({e.nGameId, e.nEdition, edit, current});
        const Row row = m_rows.back();
        connect(browse, &QPushButton::clicked, this, [this, row] { Browse(row); });
        ++line;
    }
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CConfigGamesDialog::Browse(const Row& row)
{
    QString start = row.pEdit->text().trimmed();
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::homePath();
    const QString dir =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Game directory"), start);
    if (!dir.isEmpty())
        row.pEdit->setText(QDir::toNativeSeparators(dir) + QLatin1Char('/'));
}

void CConfigGamesDialog::accept()
{
    // Only changed rows are written, so a value another tool stored meanwhile survives.
    for (const Row& row : m_rows)
    {
        const QString text = row.pEdit->text().trimmed();
        if (text == row.strInitial)
            continue;
        const std::string key = std::string(kGamesConfigurationPath) + "\\" +
                                GetGameLookupName(row.nGameId, row.nEdition);
        WriteSuiteString(key, "Path", text.toStdString());
    }
    QDialog::accept();
}
