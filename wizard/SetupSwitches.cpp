#include "SetupSwitches.h"

#include "PostInstall.h"
#include "TxDiskApi.h"

#include <vector>

namespace
{
bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

char AsciiLower(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// pszText equals pszLower (all lower case) in ASCII letter case.
bool SameName(const char* pszText, const char* pszLower)
{
    for (; *pszText != 0 && *pszLower != 0; ++pszText, ++pszLower)
        if (AsciiLower(*pszText) != *pszLower)
            return false;
    return *pszText == 0 && *pszLower == 0;
}

bool SetFolder(TxString& sTarget, const char* pszValue)
{
    // A folder relative to wherever the setup was started is refused here,
    // before anything could be made in the wrong place.
    if (!IsFullPath(pszValue))
        return false;
    sTarget = pszValue;
    return true;
}

bool SetDir(CSetupSwitches& s, const char* pszValue)
{
    return SetFolder(s.sDir, pszValue);
}

bool SetImageDir(CSetupSwitches& s, const char* pszValue)
{
    return SetFolder(s.sImageDir, pszValue);
}

bool SetImages(CSetupSwitches& s, const char* pszValue)
{
    if (SameName(pszValue, "none"))
        s.iImages = SWITCH_IMAGES_NONE;
    else if (SameName(pszValue, "all"))
        s.iImages = SWITCH_IMAGES_ALL;
    else
    {
        long long llCount = 0;
        for (const char* p = pszValue; *p != 0; ++p)
        {
            if (*p < '0' || *p > '9')
                return false;
            llCount = llCount * 10 + (*p - '0');
            if (llCount > SWITCH_IMAGES_MAX)
                return false;
        }
        if (llCount < 1)
            return false;
        s.iImages = static_cast<int>(llCount);
    }
    return true;
}

bool ShortcutValue(int& iChoice, const char* pszValue)
{
    if (SameName(pszValue, "none"))
        iChoice = SHORTCUT_NONE;
    else if (SameName(pszValue, "user"))
        iChoice = SHORTCUT_CURRENT_USER;
    else if (SameName(pszValue, "all"))
        iChoice = SHORTCUT_ALL_USERS;
    else
        return false;
    return true;
}

bool SetStartMenu(CSetupSwitches& s, const char* pszValue)
{
    return ShortcutValue(s.iStartMenu, pszValue);
}

bool SetDesktop(CSetupSwitches& s, const char* pszValue)
{
    return ShortcutValue(s.iDesktop, pszValue);
}

bool SetLanguage(CSetupSwitches& s, const char* pszValue)
{
    s.sLanguage = pszValue;
    return true;
}

bool SetLogFile(CSetupSwitches& s, const char* pszValue)
{
    s.sLogFile = pszValue;
    return true;
}

void SetSilent(CSetupSwitches& s)
{
    s.bSilent = true;
}

void SetVerySilent(CSetupSwitches& s)
{
    s.bVerySilent = true;
}

void SetSuppress(CSetupSwitches& s)
{
    s.bSuppressMsgBoxes = true;
}

void SetNsisSilent(CSetupSwitches& s)
{
    s.bVerySilent = true;
    s.bSuppressMsgBoxes = true;
}

void SetHelp(CSetupSwitches& s)
{
    s.bHelp = true;
}

void SetRunManager(CSetupSwitches& s)
{
    s.bRunManager = true;
}

struct FlagSwitch
{
    const char* pszName;
    void (*pfnSet)(CSetupSwitches&);
};

struct ValueSwitch
{
    const char* pszName;
    // False when the value is not valid; never called with an empty value.
    bool (*pfnSet)(CSetupSwitches&, const char*);
};

const FlagSwitch FLAG_SWITCHES[] = {
    {"silent", SetSilent},
    {"verysilent", SetVerySilent},
    {"suppressmsgboxes", SetSuppress},
    {"s", SetNsisSilent},
    {"?", SetHelp},
    {"help", SetHelp},
    {"runmanager", SetRunManager},
};

const ValueSwitch VALUE_SWITCHES[] = {
    {"dir", SetDir},
    {"d", SetDir},
    {"imagedir", SetImageDir},
    {"images", SetImages},
    {"startmenu", SetStartMenu},
    {"desktop", SetDesktop},
    {"lang", SetLanguage},
    {"log", SetLogFile},
};

// One switch as written, quotes removed: "/NAME" or "/NAME=value".
bool ApplySwitch(CSetupSwitches& s, const TxString& sToken)
{
    const char* pszToken = sToken.GetText();
    if (pszToken[0] != '/' && pszToken[0] != '-')
        return false;
    int iEquals = sToken.Find("=", false, false, 1);
    if (iEquals == 0)
    {
        for (const FlagSwitch& flag : FLAG_SWITCHES)
            if (SameName(pszToken + 1, flag.pszName))
            {
                flag.pfnSet(s);
                return true;
            }
        return false;
    }
    TxString sName;
    sToken.SubString(2, iEquals - 2, sName);
    const char* pszValue = pszToken + iEquals;
    if (*pszValue == 0)
        return false;
    for (const ValueSwitch& value : VALUE_SWITCHES)
        if (SameName(sName.GetText(), value.pszName))
            return value.pfnSet(s, pszValue);
    return false;
}

// NSIS's "/D=folder": everything up to the end of the line, blanks around it
// and enclosing quotes dropped.
bool IsNsisFolder(const char* p)
{
    return (p[0] == '/' || p[0] == '-') && (p[1] == 'D' || p[1] == 'd') && p[2] == '=';
}

TxString NsisFolder(const char* p)
{
    TxString sFolder(p + 3);
    sFolder.Trim();
    int n = sFolder.Length();
    if (n >= 2 && sFolder.GetText()[0] == '"' && sFolder.GetText()[n - 1] == '"')
    {
        TxString sInner;
        sFolder.SubString(2, n - 2, sInner);
        return sInner;
    }
    return sFolder;
}

// The next switch from p on; quotes switch blanks' meaning and are dropped.
const char* NextToken(const char* p, TxString& sToken)
{
    std::vector<char> token;
    bool bQuoted = false;
    for (; *p != 0 && (bQuoted || !IsBlank(*p)); ++p)
    {
        if (*p == '"')
            bQuoted = !bQuoted;
        else
            token.push_back(*p);
    }
    token.push_back(0);
    sToken = token.data();
    return p;
}

void Refuse(bool& bValid, TxString& sBadSwitch, const TxString& sToken)
{
    if (bValid)
        sBadSwitch = sToken;
    bValid = false;
}
} // namespace

bool ParseSetupSwitches(const char* pszArguments, CSetupSwitches& switches, TxString& sBadSwitch)
{
    bool bValid = true;
    sBadSwitch = "";
    const char* p = pszArguments != nullptr ? pszArguments : "";
    for (;;)
    {
        while (IsBlank(*p))
            ++p;
        if (*p == 0)
            break;
        switches.bAny = true;
        if (IsNsisFolder(p))
        {
            TxString sToken(p);
            sToken.Trim();
            if (!SetDir(switches, NsisFolder(p).GetText()))
                Refuse(bValid, sBadSwitch, sToken);
            break;
        }
        TxString sToken;
        p = NextToken(p, sToken);
        if (!ApplySwitch(switches, sToken))
            Refuse(bValid, sBadSwitch, sToken);
    }
    return bValid;
}
