#include "CAboutDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ModuleInfo.h"

namespace
{
QString OrUnknown(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("unknown") : text;
}
} // namespace

CAboutDialog::CAboutDialog(const ModuleInfo& info, QWidget* pParent) : QDialog(pParent)
{
    const QString name = info.strId.isEmpty() ? QStringLiteral("Vantorel tool") : info.strId;
    setWindowTitle(QStringLiteral("About %1").arg(name));
    setObjectName(QStringLiteral("vxAboutDialog"));

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("<b>%1</b>").arg(name.toHtmlEscaped()), this);
    title->setObjectName(QStringLiteral("programName"));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    title->setFont(font);
    layout->addWidget(title);

    auto* form = new QFormLayout;
    auto addRow = [&](const QString& label, const QString& value, const char* objectName)
    {
        auto* field = new QLabel(value, this);
        field->setObjectName(QLatin1String(objectName));
        field->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, field);
    };
    addRow(QStringLiteral("Version:"), OrUnknown(info.strVersion), "version");
    addRow(QStringLiteral("Date:"), OrUnknown(info.strDate), "date");
    addRow(QStringLiteral("Author:"), OrUnknown(info.strCoder), "author");
    layout->addLayout(form);

    auto* suite =
        new QLabel(QStringLiteral("Part of the Vantorel suite of game tools by Quillmoor."), this);
    suite->setObjectName(QStringLiteral("suite"));
    layout->addWidget(suite);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
