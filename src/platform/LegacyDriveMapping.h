#pragma once

#include <string>
#include <string_view>

// The legacy suite lived on Windows; on Linux it can only live in a Wine prefix. These
// map the Windows paths found in its files to host paths and back.

// $VANTOREL_DRIVE_C if set, else ${WINEPREFIX:-$HOME/.wine}/drive_c; no trailing "/".
std::string GetDriveCDirectory();

// A drive letter ("C:", "c:\...") or any backslash marks a path as Windows form.
bool IsWindowsFormPath(std::string_view path);

// A Windows-form path as a host path: C: is drive C, Z: is "/" (as Wine maps it), other
// letters go through the prefix's "dosdevices" links; "\" and "/" both separate; a path
// rooted without a drive ("\Kroy") lies on drive C. Windows names ignore case, so each
// component that does not exist as spelt is looked up without regard to case. ".." never
// climbs above the drive. Host paths are returned as they stand.
std::string MapLegacyPath(std::string_view path);

// A host path as Wine shows it to Windows programs: C:\... below drive C, else Z:\...
// Windows-form paths and the empty string are returned as they stand.
std::string ToLegacyPath(std::string_view hostPath);
