#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "RgbaPicture.h"

class ITextureResolver;

// The file names a model's texture name may stand for, in the order they are tried.
using TextureCandidates = std::vector<std::string> (*)(std::string_view name);

// One picture per name, empty where no candidate is found, it does not decode, or wanted
// (when given) says no polygon drawn uses it.
std::vector<RgbaPicture> LoadModelTextures(ITextureResolver& resolver,
                                           const std::vector<std::string>& names,
                                           TextureCandidates candidates,
                                           const std::vector<bool>& wanted = {});
