#pragma once

#include <string>

// Where the document's user-facing messages go: a message box in the GUI, stderr in the CLI.
class IMessageSink
{
public:
    virtual ~IMessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};
