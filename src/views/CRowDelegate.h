#pragma once

#include <QStyledItemDelegate>

// Draws list cells without the per-cell focus frame: the list selects whole rows, so a
// frame around one cell of the current row reads as an edit box.
class CRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* pOption, const QModelIndex& index) const override;
};
