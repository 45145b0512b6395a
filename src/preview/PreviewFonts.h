#pragma once

#include <QFont>

// "Tahoma" at a point size; where it is not installed the platform's sans-serif of the same
// size stands in.
QFont TahomaFont(int nPointSize);
