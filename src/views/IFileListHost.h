#pragma once

#include <string>
#include <vector>

// What the file list asks of the main frame: the preview hand-off, the external
// open of a double-clicked row, the count of selected rows, and the files a drag
// out of the list hands over.
class IFileListHost
{
public:
    virtual ~IFileListHost() = default;
    virtual void PreviewEntry(int nFile, bool bForce) = 0;
    virtual void OnOpenSelected() = 0;
    virtual int CountSelectedRows() const = 0;
    // Writes the selected file rows where a drop target can take them and returns the
    // paths written; none when there was nothing to write or a file failed (the user
    // has been told). A host without such a place starts no drag.
    virtual std::vector<std::string> ExtractSelectionForDrag() { return {}; }
};
