#pragma once

#include <future>

// Reads the system's font configuration on a second thread. Qt reads it on the first
// use of a font, in the middle of building the main window, and it costs some 6 ms;
// read beforehand, Qt finds it ready. Wait for the result before anything uses a font,
// so that the two threads never both read it.
std::future<void> StartFontConfigWarmUp();
