// CLeftView: a game folder's type folders in place of an archive's directories.
#include <algorithm>
#include <map>

#include "AsciiText.h"
#include "CGameFolder.h"
#include "CGameFolderListModel.h"
#include "CLeftView.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "GamePathTypes.h"

namespace
{
constexpr int kRoleKind = Qt::UserRole;
constexpr int kRoleType = Qt::UserRole + 1;
constexpr int kRoleSubPath = Qt::UserRole + 2;

// A type folder or one of its sub folders, with the files below it.
struct Node
{
    QString text;
    int nFiles = 0;
    std::map<std::string, Node> children; // by lower-case name
};

QTreeWidgetItem* MakeItem(const Node& node, int nType, const std::string& subPath)
{
    auto* pItem = new QTreeWidgetItem(QStringList(QStringLiteral("%1 (%2)").arg(node.text).arg(node.nFiles)));
    pItem->setData(0, kRoleKind, static_cast<int>(GameListSelection::Kind::TypeFolder));
    pItem->setData(0, kRoleType, nType);
    pItem->setData(0, kRoleSubPath, QString::fromStdString(subPath));
    for (const auto& [name, child] : node.children)
        pItem->addChild(MakeItem(child, nType, subPath + name + "/"));
    return pItem;
}
} // namespace

void CLeftView::ShowGameFolder(const CGameFolder& folder)
{
    m_bRebuilding = true;
    m_bGameFolder = true;
    clear();
    // The archive's handles would name deleted items.
    for (int d = 0; d < std::min(m_doc.m_nDirCount, MAX_DIRS); ++d)
        m_doc.m_dirs[d].hTreeItem = nullptr;
    m_doc.m_hAllFilesItem = nullptr;

    std::map<int, Node> types;
    int nLoaded = 0;
    std::string key; // reused: most files lie in sub folders already met

    for (const GameFile& file : folder.Files())
    {
        if (file.nLoadedFile >= 0)
            continue;
        ++nLoaded;
        Node* pNode = &types[file.nType];
        ++pNode->nFiles;
        std::string_view sub = file.strSubPath;
        while (!sub.empty())
        {
            const std::size_t nSlash = sub.find('/');
            const std::string_view part = sub.substr(0, nSlash);
            key.assign(part);
            for (char& c : key)
                c = ToLowerAscii(c);
            auto it = pNode->children.find(key);
            if (it == pNode->children.end())
                it = pNode->children.emplace(key, Node()).first;
            Node& child = it->second;
            if (child.text.isEmpty())
                child.text = QString::fromStdString(std::string(part));
            ++child.nFiles;
            pNode = &child;
            sub = nSlash == std::string_view::npos ? std::string_view() : sub.substr(nSlash + 1);
        }
    }

    QList<QTreeWidgetItem*> topLevel;
    for (auto& [nType, node] : types)
    {
        const char* szPath = GetGamePathType(nType).szPath;
        node.text = *szPath ? QString::fromUtf8(szPath) : QStringLiteral("(game folder)");
        topLevel.append(MakeItem(node, nType, {}));
    }
    auto* pAll = new QTreeWidgetItem(QStringList(QStringLiteral("<All files> (%1)").arg(nLoaded)));
    pAll->setData(0, kRoleKind, static_cast<int>(GameListSelection::Kind::All));
    topLevel.append(pAll);
    if (!folder.Ignored().empty())
    {
        auto* pIgnored = new QTreeWidgetItem(QStringList(
            QStringLiteral("<Ignored by the game> (%1)").arg(folder.Ignored().size())));
        pIgnored->setData(0, kRoleKind, static_cast<int>(GameListSelection::Kind::Ignored));
        pIgnored->setToolTip(0, tr("Files the game never loads, each with the reason"));
        topLevel.append(pIgnored);
    }
    addTopLevelItems(topLevel);
    // Sub folders stay closed: a mod's maps may have hundreds.
    setCurrentItem(topLevel.front());
    m_bRebuilding = false;
    ShowGameItem(topLevel.front());
}

void CLeftView::ShowGameItem(const QTreeWidgetItem* pItem)
{
    if (!pItem)
        return;
    GameListSelection selection;
    selection.eKind = static_cast<GameListSelection::Kind>(pItem->data(0, kRoleKind).toInt());
    selection.nType = pItem->data(0, kRoleType).toInt();
    selection.strSubPath = pItem->data(0, kRoleSubPath).toString().toStdString();
    m_list.ShowGameRows(selection);
}
