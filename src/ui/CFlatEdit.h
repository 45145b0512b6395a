#pragma once

#include "CFlatControl.h"

// A framed line edit: the edge frame, read-only from the edit.
class CFlatEdit : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;

protected:
    bool IsReadOnly() const override;
};
