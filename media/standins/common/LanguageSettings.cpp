#include "LanguageSettings.h"

#include "ProductNames.h"
#include "RegistryValues.h"

LanguageSettings ReadLanguageSettings()
{
    LanguageSettings settings;
    settings.bHasLanguage =
        ReadRegistryString(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY, "Language", settings.sLanguage);
    settings.bHasEName =
        ReadRegistryString(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY, "LangEName", settings.sLangEName);
    settings.bHasId =
        ReadRegistryDword(HKEY_LOCAL_MACHINE, LANGUAGE_REG_KEY, "LangId", settings.dwLangId);
    return settings;
}
