#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

// Which -mod folders a game folder is seen with, and in which order: the folder's mod
// candidates and the mods of its launcher files, to tick and move; the first wins, the game
// folder itself comes after them all.
class CModsDialog : public QDialog
{
    Q_OBJECT
public:
    // chosen come first, ticked, in their order (one the folder lacks is kept, marked
    // missing); the other candidates follow unticked.
    CModsDialog(const QString& gameDir, const std::vector<std::string>& candidates,
                const std::vector<std::string>& chosen, QWidget* pParent = nullptr);

    // The ticked mods, top first.
    std::vector<std::string> Chosen() const;
    QListWidget* List() const { return m_pList; }
    // Moves the current mod one place up (-1) or down (1).
    void MoveCurrent(int nStep);

private:
    void UpdateButtons();

    QListWidget* m_pList;
    QPushButton* m_pUp;
    QPushButton* m_pDown;
};
