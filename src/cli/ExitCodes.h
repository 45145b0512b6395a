#pragma once

// Exit status of orbistav-cli.
constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_PARTIAL = 3;  // the archive was read only in part; what was read was used
constexpr int EXIT_PROBLEMS = 3; // verify found damage
