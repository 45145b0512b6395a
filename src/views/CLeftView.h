#pragma once

#include <cstdint>
#include <optional>

#include <QTreeWidget>

class CGameFolder;
class CArchiveEditList;
class CORBISTAVDoc;
struct EditListSelection;
class CORBISTAVView;

// The directory tree on the left. Selecting an item makes the file list show that
// directory (.VP), that file type (.VPP) or every file.
class CLeftView : public QTreeWidget
{
    Q_OBJECT

public:
    CLeftView(CORBISTAVDoc& doc, CORBISTAVView& list, QWidget* pParent = nullptr);

    // Builds the tree anew from the document and shows the first directory.
    void Rebuild();
    // Makes the list show m_nSelDir.
    void ShowSelection();
    // A game folder's type folders and their sub folders, every file and the ignored files,
    // until the next Rebuild (CLeftViewGame.cpp); the first type folder is shown.
    void ShowGameFolder(const CGameFolder& folder);
    bool ShowsGameFolder() const { return m_bGameFolder; }

    // An archive's directories as they would be saved, until the next Rebuild
    // (CLeftViewEdit.cpp); the item of select, else of the nearest directory above it, else
    // every file, is selected and shown.
    void ShowEditTree(const CArchiveEditList& list, const EditListSelection& select);
    bool ShowsEditTree() const { return m_bEditTree; }
    // What the item at a point of the viewport shows; nothing off the items.
    std::optional<EditListSelection> EditSelectionAt(const QPoint& pos) const;

    // A directory index, or -1 for all files.
    std::int32_t m_nSelDir = -1;

private:
    void AddDirItems(int nDir, QTreeWidgetItem* pParent, QList<QTreeWidgetItem*>& topLevel);
    int FirstVpDirectory() const;
    void OnSelChanged();
    void ShowGameItem(const QTreeWidgetItem* pItem);

    void ShowEditItem(const QTreeWidgetItem* pItem);

    CORBISTAVDoc& m_doc;
    CORBISTAVView& m_list;
    bool m_bEditTree = false;
    bool m_bRebuilding = false;
    bool m_bGameFolder = false;
};
