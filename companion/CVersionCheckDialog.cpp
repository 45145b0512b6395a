#include "CVersionCheckDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "ModuleInfo.h"

CVersionCheckDialog::CVersionCheckDialog(const ModuleInfo& info, QWidget* pParent)
    : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Check for new version"));
    setObjectName(QStringLiteral("vxVersionCheckDialog"));

    auto* layout = new QVBoxLayout(this);
    const QString name = info.strId.isEmpty() ? QStringLiteral("This tool") : info.strId;
    const QString version = info.strVersion.isEmpty() ? QStringLiteral("unknown") : info.strVersion;
    auto* installed = new QLabel(
        QStringLiteral("%1\nInstalled version: %2\nBuild: %3").arg(name, version).arg(info.nBuild),
        this);
    installed->setObjectName(QStringLiteral("installed"));
    installed->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(installed);

    auto* result =
        new QLabel(QStringLiteral("No update information could be obtained: this installation "
                                  "has no update service to ask. Your version was not checked."),
                   this);
    result->setObjectName(QStringLiteral("result"));
    result->setWordWrap(true);
    layout->addWidget(result);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}
