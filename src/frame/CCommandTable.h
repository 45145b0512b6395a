#pragma once

#include <QAction>
#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

// Every command of the frame with exactly one enabling rule and one handler, side by
// side. The rules are evaluated before a menu opens, when the event loop goes idle and
// again right before a handler runs, so a disabled command never runs.
class CCommandTable : public QObject
{
    Q_OBJECT
public:
    using Rule = std::function<bool()>;
    using Handler = std::function<void()>;

    explicit CCommandTable(QObject* pParent = nullptr);

    // text is the menu text; prompt the status bar text and tooltip, "prompt\ntooltip".
    // A command without handler is always disabled.
    QAction* Add(int nId, const QString& text, const QString& prompt, Rule rule, Handler handler,
                 const QKeySequence& key = {});
    QAction* Action(int nId) const;
    bool IsEnabled(int nId) const;
    // Runs the handler if the rule allows it now; returns whether it ran.
    bool Run(int nId);
    void UpdateAll();

private:
    struct Command
    {
        QAction* pAction = nullptr;
        Rule rule;
        Handler handler;
    };
    std::map<int, Command> m_commands;
};
