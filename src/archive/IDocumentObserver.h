#pragma once

// What the document tells the frame around a read: before it, the preview stops
// (it may still be reading the old tables); after it, the views refresh.
class IDocumentObserver
{
public:
    virtual ~IDocumentObserver() = default;
    virtual void OnBeforeRead() = 0;
    virtual void OnAfterRead() = 0;
};
