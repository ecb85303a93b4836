#include "LanguageMutator.h"

#include "SplitMix.h"
#include "StringTables.h"

#include <vector>

namespace
{
std::vector<std::string> SplitLines(const std::string& s)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t p; (p = s.find("\r\n", start)) != std::string::npos; start = p + 2)
        lines.push_back(s.substr(start, p - start));
    if (start < s.size())
        lines.push_back(s.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& sEnd)
{
    std::string s;
    for (const std::string& line : lines)
        s += line + sEnd;
    return s;
}

std::string Section(const char* pszName, const char* pszLangId, const char* pszTag)
{
    std::string s = std::string("BEGIN-LANGUAGE ") + pszName + "\r\nLANGID = " + pszLangId +
                    "\r\n// translated texts\r\n\r\n";
    for (int i = 0; i < TEXT_KEY_COUNT; i += 3)
    {
        const CTextKey& key = g_TextKeys[i];
        s += std::string(key.pszKey) + "\r\n" + pszTag + " " + key.pszEnglish + "\r\n";
        if (i % 9 == 0)
            s += "second line\\nwith escape\r\n";
    }
    return s + "END-LANGUAGE\r\n";
}

const char* Pick(CSplitMix& rng, const std::vector<const char*>& options)
{
    return options[rng.Below(static_cast<std::uint32_t>(options.size()))];
}

std::string Keyword(CSplitMix& rng)
{
    return Pick(rng, {"BEGIN-LANGUAGE", "begin-language X", "END-LANGUAGE", "end-language",
                      "END-OF-FILE", "LANGID", "langid = LANG_GERMAN", "LANGID=LANG_ENGLISH",
                      "gl9_", "glx_Ok", "gls_Error", "//", "BEGIN-LANGUAGE"});
}

std::string LongLine(CSplitMix& rng)
{
    std::string s(70000, 'x');
    for (int i = 0; i < 50; ++i)
        s[rng.Below(70000)] = Pick(rng, {"%", "\\", "s", "d", " ", "n"})[0];
    return s;
}

void Junk(std::string& s, CSplitMix& rng)
{
    int n = 1 + static_cast<int>(rng.Below(20));
    for (int i = 0; i < n && !s.empty(); ++i)
    {
        std::size_t pos = rng.Below(static_cast<std::uint32_t>(s.size()));
        if (rng.Below(2) == 0)
            s[pos] = static_cast<char>(rng.Below(256));
        else
            s.insert(pos, 1 + rng.Below(64), static_cast<char>(rng.Below(256)));
    }
}

void ChangeLines(std::vector<std::string>& lines, CSplitMix& rng)
{
    std::size_t i = rng.Below(static_cast<std::uint32_t>(lines.size()));
    switch (rng.Below(9))
    {
    case 0: // a keyword inside a text
        lines[i].insert(rng.Below(static_cast<std::uint32_t>(lines[i].size() + 1)), Keyword(rng));
        break;
    case 1: // end lines missing
        for (std::string& line : lines)
            if (line.find("END-") != std::string::npos && rng.Below(2) == 0)
                line = "text";
        break;
    case 2:
        lines.insert(lines.begin() + static_cast<long>(i), LongLine(rng));
        break;
    case 3: // escapes at the line end
        lines[i] += Pick(rng, {"\\", "\\r", "\\N", "\\\\", "%", "%s%", "\\r\\n\\"});
        break;
    case 4: // placeholders changed
        lines[i] += Pick(rng, {"%s", "%d%d", "%n", "%999999999s", "%.*s", "%", "%%", "%ls", "%p"});
        break;
    case 5: // a key without text, a text without key
        lines.erase(lines.begin() + static_cast<long>(i));
        break;
    case 6:
        lines.insert(lines.begin() + static_cast<long>(i), Keyword(rng));
        break;
    case 7: // many sections
        for (int k = 0; k < 500; ++k)
            lines.push_back("BEGIN-LANGUAGE S" + std::to_string(k) + "\tLANGID LANG_" +
                            Pick(rng, {"GERMAN", "ENGLISH", "FOO", ""}));
        break;
    default:
        lines[i].clear();
        break;
    }
}
} // namespace

std::string ValidLanguageFile()
{
    return Section("English", "LANG_ENGLISH", "EN") + Section("Deutsch", "LANG_GERMAN", "DE") +
           Section("Srpski", "LANG_SERBIAN", "SR") + "END-OF-FILE\r\n";
}

std::string MutateLanguageFile(const std::string& sValid, long iVariant, unsigned uSeed)
{
    CSplitMix rng(uSeed, static_cast<std::uint64_t>(iVariant));
    std::uint32_t kind = rng.Below(6);
    if (kind == 0)
    {
        std::string s = sValid;
        Junk(s, rng);
        return s;
    }
    if (kind == 1) // cut anywhere, also inside a CR LF pair
        return sValid.substr(0, rng.Below(static_cast<std::uint32_t>(sValid.size() + 1)));
    std::vector<std::string> lines = SplitLines(sValid);
    int n = kind == 5 ? 2 + static_cast<int>(rng.Below(6)) : 1;
    for (int k = 0; k < n; ++k)
        ChangeLines(lines, rng);
    std::string sEnd = kind == 4 ? Pick(rng, {"\n", "\r", "\n\r", "\r\r\n"}) : "\r\n";
    std::string s = JoinLines(lines, sEnd);
    if (kind == 3)
        Junk(s, rng);
    return s;
}
