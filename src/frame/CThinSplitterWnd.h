#pragma once

#include "CStaticSplitter.h"

// The splitter of the preview area: a 3-pixel bar that can neither be dragged nor
// shows a sizing cursor.
class CThinSplitterWnd : public CStaticSplitter
{
    Q_OBJECT
public:
    explicit CThinSplitterWnd(QWidget* pParent = nullptr);

protected:
    QSplitterHandle* createHandle() override;
};
