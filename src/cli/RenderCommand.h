#pragma once

#include <string>

class CCliArchive;
class CCliGameFolder;

struct RenderOptions
{
    std::string strEntry; // archive path, as extract takes it; a name of a game folder
    std::string strOutput;
    int nFrame = 1; // of an animation, from 1
    int nMip = 0;   // of a DDS texture, from 0
    int nFace = 0;  // of a DDS cube map, from 0
    // How a model is drawn; bModelView says one of these was given.
    std::string strSize = "512x512";
    double dYaw = 30;
    double dPitch = 20;
    bool bWireframe = false;
    bool bNoTextures = false;
    bool bModelView = false;
};

// "render": writes what the preview shows or plays of an entry, in the kind OUT's extension
// names: pictures, animation frames, font sheets and models as .png, sounds as 16-bit
// PCM .wav, text as UTF-8 .txt (an entry of no known kind whose bytes are text included).
// Nothing is written for an entry of another kind or one that cannot be decoded.
int RenderEntry(const CCliArchive& archive, const RenderOptions& options);
// The same for what the game loads for a name, its textures found across the whole view.
int RenderGameFile(const CCliGameFolder& folder, const RenderOptions& options);
