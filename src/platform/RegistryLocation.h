#pragma once

#include <string>

#include "RegistryRoot.h"

// Directory of the registry files: $QUILLMOOR_REGISTRY_DIR, else
// $XDG_CONFIG_HOME/Quillmoor, else ~/.config/Quillmoor. Read anew on every call so
// that a change of the environment takes effect at once.
std::string GetRegistryDirectory();

// <directory>/HKEY_CURRENT_USER.reg or <directory>/HKEY_LOCAL_MACHINE.reg.
std::string GetRegistryFilePath(RegistryRoot root);
