#pragma once

#include <iosfwd>

class CCliArchive;

// "list": one line per file in file order, or the whole document as JSON.
int ListArchive(const CCliArchive& archive, bool bJson, std::ostream& out);
