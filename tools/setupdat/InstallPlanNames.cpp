#include "InstallPlanNames.h"

#include <cstdio>

std::vector<std::string> InstallPlanNames()
{
    std::vector<std::string> names = {
        "QvAgent.exe",   "QvApi.dll",    "QvManag.exe",  "QvLang.dat",   "QvImage.dll",
        "Uninstall.exe", "Quorvane.scr", "License.html", "Quorvane.chm", "ReadMe.html",
    };
    for (int i = 1; i <= 20; ++i)
    {
        char szName[32];
        std::snprintf(szName, sizeof(szName), "Texture%03d.bmp", i);
        names.push_back(szName);
    }
    return names;
}
