#pragma once

#include <memory>

class QApplication;

// The entry points may be called from a program without a Qt application object (a
// script host, a test); then one lives for the duration of the call.
class CompanionApplication
{
public:
    CompanionApplication();
    ~CompanionApplication();
    CompanionApplication(const CompanionApplication&) = delete;
    CompanionApplication& operator=(const CompanionApplication&) = delete;

private:
    std::unique_ptr<QApplication> m_pOwnApp;
};
