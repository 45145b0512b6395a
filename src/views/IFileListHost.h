#pragma once

// What the file list asks of the main frame: the preview hand-off, the external
// open of a double-clicked row, and the count of selected rows.
class IFileListHost
{
public:
    virtual ~IFileListHost() = default;
    virtual void PreviewEntry(int nFile, bool bForce) = 0;
    virtual void OnOpenSelected() = 0;
    virtual int CountSelectedRows() const = 0;
};
