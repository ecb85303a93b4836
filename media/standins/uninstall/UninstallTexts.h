#pragma once

#include "TxString.h"

// The uninstaller's interface texts, one per "glu_" key, in the order the
// setup exports them; the last ones are not in the setup's language file yet,
// so they stay English until a language file brings them.
enum UninstallTextId
{
    GLU_CAPTION,
    GLU_USAGE,
    GLU_COMPLETE,
    GLU_START,
    GLU_CANCEL,
    GLU_CLOSE,
    GLU_CANNOT_UNINSTALL,
    GLU_UNINSTALL_FILE_NOT_FOUND_S,
    GLU_CANNOT_READ_UNINSTALL_FILE_S,
    GLU_REMOVED_FOLDER_S,
    GLU_REMOVED_FILE_S,
    GLU_REMOVED_REGISTRY_ITEM_S,
    GLU_CANNOT_REMOVE_FILE_S,
    GLU_FILE_MODIFIED_S,
    GLU_CANNOT_FIND_FILE_S,
    GLU_CANNOT_REMOVE_FOLDER_S,
    GLU_CANNOT_FIND_FOLDER_S,
    GLU_CANNOT_FIND_REGISTRY_ITEM_S,
    GLU_CANNOT_REMOVE_REGISTRY_ITEM_S,
    GLU_CLOSING_AGENT,
    GLU_REMOVED_UNINSTALL,
    GLU_CANNOT_REMOVE_UNINSTALL,
    GLU_FILE_AT_RESTART_S,
    GLU_FOLDER_AT_RESTART_S,
    GLU_SKIPPED_S,
    GLU_COUNT
};

class UninstallTexts
{
public:
    // Starts with the built-in English texts.
    UninstallTexts();

    // Takes every "glu_" value found in the product's Language key; a missing
    // or empty value keeps the English text. Must run before the
    // uninstallation removes that key.
    void LoadFromRegistry();

    const TxString& Text(UninstallTextId id) const { return m_Texts[id]; }
    void SetText(UninstallTextId id, const char* pszText) { m_Texts[id] = pszText; }
    // The text with its one %s filled in; a translated text with stray
    // placeholders cannot read past the argument.
    TxString Format(UninstallTextId id, const char* pszArgument) const;

    // The registry value name of a text, e.g. "glu_Caption".
    static const char* KeyName(UninstallTextId id);

private:
    TxString m_Texts[GLU_COUNT];
};
