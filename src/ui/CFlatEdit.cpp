#include "CFlatEdit.h"

#include <QLineEdit>

bool CFlatEdit::IsReadOnly() const
{
    const auto* pEdit = qobject_cast<const QLineEdit*>(m_pWnd.data());
    return pEdit && pEdit->isReadOnly();
}
