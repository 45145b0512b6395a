#include "CRowDelegate.h"

void CRowDelegate::initStyleOption(QStyleOptionViewItem* pOption, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(pOption, index);
    pOption->state &= ~QStyle::State_HasFocus;
}
