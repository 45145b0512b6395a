#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QLineEdit;

// The suite's editor of game paths: one row per game edition that the suite's tools
// read. OK stores the rows the user changed; Cancel stores nothing.
class CConfigGamesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CConfigGamesDialog(QWidget* pParent = nullptr);

    void accept() override;

private:
    struct Row
    {
        int nGameId;
        int nEdition;
        QLineEdit* pEdit;
        QString strInitial;
    };
    void Browse(const Row& row);

    std::vector<Row> m_rows;
};
