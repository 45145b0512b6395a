#include "WhichCommand.h"

#include <iostream>

#include "CCliGameFolder.h"
#include "CJsonStream.h"
#include "ExitCodes.h"
#include "GamePathTypes.h"

int WhichFiles(const CCliGameFolder& cli, const std::vector<std::string>& names, bool bJson,
               std::ostream& out)
{
    const CGameFolder& folder = cli.Folder();
    int status = cli.Status();
    CJsonStream json(out);
    if (bJson)
        json.BeginArray();
    for (const std::string& name : names)
    {
        const std::vector<GameHit> hits = folder.Find(name);
        if (hits.empty())
        {
            status = EXIT_FAILED;
            if (bJson)
                json.BeginObject()
                    .Key("name").String(name)
                    .Key("folder").Null()
                    .Key("loads").Null()
                    .Key("hides").BeginArray().EndArray()
                    .EndObject();
            else
                std::cerr << "orbistav-cli: " << name << ": the game finds no such file\n";
            continue;
        }
        for (const GameHit& hit : hits)
        {
            const char* szFolder = GetGamePathType(hit.nType).szPath;
            if (!bJson)
            {
                out << name << '\t' << szFolder << '\t' << folder.Location(hit.nLoads) << '\n';
                for (const int nHidden : hit.aHides)
                    out << "  " << (folder.IsOverride(hit.nLoads, nHidden) ? "override" : "shadow")
                        << '\t' << folder.Location(nHidden) << '\n';
                continue;
            }
            json.BeginObject().Key("name").String(name).Key("folder").String(szFolder);
            json.Key("loads").String(folder.Location(hit.nLoads)).Key("hides").BeginArray();
            for (const int nHidden : hit.aHides)
                json.String(folder.Location(nHidden));
            json.EndArray().EndObject();
        }
    }
    if (bJson)
    {
        json.EndArray();
        json.Finish();
    }
    out.flush();
    return out ? status : EXIT_FAILED;
}
