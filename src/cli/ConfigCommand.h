#pragma once

#include <iosfwd>

// "config": where the suite's registry files are and what they hold for this program:
// the seven settings, the game directories and the module registration. Reads only.
int ShowConfiguration(std::ostream& out);
