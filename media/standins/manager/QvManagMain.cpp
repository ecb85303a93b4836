// Stand-in of the product's manager: shows that it runs and which interface
// language the setup recorded for it in the registry.
#include "LanguageSettings.h"
#include "ManagerWindow.h"
#include "ProductNames.h"
#include "RegistryValues.h"
#include "TokenRecord.h"
#include "TxFormat.h"
#include "WindowSupport.h"

#include <windows.h>

namespace
{
void AppendSetting(TxString& sText, const char* pszName, bool bPresent, const TxString& sValue)
{
    sText.Append(TxFormat("  %s: %s\r\n", {pszName, bPresent ? sValue.GetText() : "(not set)"}));
}

TxString ManagerText(const LanguageSettings& settings)
{
    TxString sText("Quorvane Manager (stand-in)\r\n\r\n"
                   "This program stands in for the manager of the Quorvane wallpaper changer. "
                   "It has no settings; it shows the interface language that the setup "
                   "recorded under HKEY_LOCAL_MACHINE\\");
    sText.Append(LANGUAGE_REG_KEY);
    sText.Append(":\r\n\r\n");
    AppendSetting(sText, "Language", settings.bHasLanguage, settings.sLanguage);
    AppendSetting(sText, "LangEName", settings.bHasEName, settings.sLangEName);
    TxString sId = TxFormat("%u (0x%04x)", {static_cast<unsigned>(settings.dwLangId),
                                            static_cast<unsigned>(settings.dwLangId)});
    AppendSetting(sText, "LangId", settings.bHasId, sId);
    return sText;
}
} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    RecordTokenElevation("QvManag.exe");
    TxString sOk("OK");
    ReadRegistryString(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY, "glx_Ok", sOk);
    ManagerWindow window(ManagerText(ReadLanguageSettings()), sOk);
    if (!window.Create(hInstance, nCmdShow))
        return 1;
    return RunMessageLoop();
}
