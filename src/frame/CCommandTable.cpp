#include "CCommandTable.h"

CCommandTable::CCommandTable(QObject* pParent) : QObject(pParent) {}

QAction* CCommandTable::Add(int nId, const QString& text, const QString& prompt, Rule rule,
                            Handler handler, const QKeySequence& key)
{
    auto* pAction = new QAction(text, this);
    pAction->setData(nId);
    pAction->setObjectName(QStringLiteral("command%1").arg(nId));
    if (!prompt.isEmpty())
    {
        const qsizetype nl = prompt.indexOf(QLatin1Char('\n'));
        pAction->setStatusTip(nl < 0 ? prompt : prompt.left(nl));
        if (nl >= 0)
            pAction->setToolTip(prompt.mid(nl + 1));
    }
    if (!key.isEmpty())
        pAction->setShortcut(key);
    m_commands[nId] = Command{pAction, std::move(rule), std::move(handler)};
    connect(pAction, &QAction::triggered, this, [this, nId] { Run(nId); });
    pAction->setEnabled(IsEnabled(nId));
    return pAction;
}

QAction* CCommandTable::Action(int nId) const
{
    const auto it = m_commands.find(nId);
    return it == m_commands.end() ? nullptr : it->second.pAction;
}

bool CCommandTable::IsEnabled(int nId) const
{
    const auto it = m_commands.find(nId);
    if (it == m_commands.end() || !it->second.handler)
        return false;
    return !it->second.rule || it->second.rule();
}

bool CCommandTable::Run(int nId)
{
    if (!IsEnabled(nId))
    {
        if (QAction* pAction = Action(nId))
            pAction->setEnabled(false);
        return false;
    }
    // A handler may open dialogs or reload the archive; copy it first.
    const Handler handler = m_commands[nId].handler;
    handler();
    UpdateAll();
    return true;
}

void CCommandTable::UpdateAll()
{
    for (auto& [nId, command] : m_commands)
    {
        const bool bEnabled = IsEnabled(nId);
        if (command.pAction->isEnabled() != bEnabled)
            command.pAction->setEnabled(bEnabled);
    }
}
