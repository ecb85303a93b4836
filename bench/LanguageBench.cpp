// Language work: LoadLanguages on a file of 50 complete languages, then
// SwitchLanguage through all of them.
//
//   bench_language <SetupLang.dat> <work folder>
//
// The 50 sections are the first section of the given file (every key with
// its text) under 50 names and language ids.
#include "BenchSupport.h"
#include "LanguageCatalogue.h"
#include "StringTables.h"
#include "TxHandles.h"

#include <string>
#include <windows.h>

namespace
{
// Runs after a warm-up (see StartupBench.cpp).
const int RUNS = 15;
const int LANGUAGES = 50;
const char* const LANG_IDS[LANGUAGES] = {
    "LANG_AFRIKAANS",  "LANG_ALBANIAN",  "LANG_ARABIC",     "LANG_ARMENIAN",  "LANG_ASSAMESE",
    "LANG_AZERI",      "LANG_BASQUE",    "LANG_BELARUSIAN", "LANG_BENGALI",   "LANG_BULGARIAN",
    "LANG_CATALAN",    "LANG_CHINESE",   "LANG_CROATIAN",   "LANG_CZECH",     "LANG_DANISH",
    "LANG_DUTCH",      "LANG_ENGLISH",   "LANG_ESTONIAN",   "LANG_FAEROESE",  "LANG_FARSI",
    "LANG_FINNISH",    "LANG_FRENCH",    "LANG_GEORGIAN",   "LANG_GERMAN",    "LANG_GREEK",
    "LANG_GUJARATI",   "LANG_HEBREW",    "LANG_HINDI",      "LANG_HUNGARIAN", "LANG_ICELANDIC",
    "LANG_INDONESIAN", "LANG_ITALIAN",   "LANG_JAPANESE",   "LANG_KANNADA",   "LANG_KASHMIRI",
    "LANG_KAZAK",      "LANG_KONKANI",   "LANG_KOREAN",     "LANG_LATVIAN",   "LANG_LITHUANIAN",
    "LANG_MACEDONIAN", "LANG_MALAY",     "LANG_MALAYALAM",  "LANG_MANIPURI",  "LANG_MARATHI",
    "LANG_NEPALI",     "LANG_NORWEGIAN", "LANG_ORIYA",      "LANG_POLISH",    "LANG_PORTUGUESE"};

std::string ReadWholeFile(const std::string& path)
{
    TxFileHandle hFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    if (!hFile.IsValid())
        Die("cannot open " + path);
    std::string text(GetFileSize(hFile.Get(), nullptr), '\0');
    DWORD dwRead = 0;
    if (!ReadFile(hFile.Get(), &text[0], static_cast<DWORD>(text.size()), &dwRead, nullptr) ||
        dwRead != text.size())
        Die("cannot read " + path);
    return text;
}

// The key and text lines of the first section: after its LANGID line, up
// to its END-LANGUAGE line.
std::string FirstSectionBody(const std::string& file)
{
    size_t begin = file.find("LANGID");
    size_t end = file.find("END-LANGUAGE");
    if (begin == std::string::npos || end == std::string::npos || end < begin)
        Die("no complete section in the language file");
    begin = file.find('\n', begin) + 1;
    return file.substr(begin, end - begin);
}

void WriteLanguageFile(const std::string& path, const std::string& body)
{
    std::string text;
    for (int i = 0; i < LANGUAGES; ++i)
        text += Format("BEGIN-LANGUAGE Language%02d\r\nLANGID = %s\r\n", i + 1, LANG_IDS[i]) +
                body + "END-LANGUAGE\r\n\r\n";
    TxFileHandle hFile(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD dwWritten = 0;
    if (!hFile.IsValid() ||
        !WriteFile(hFile.Get(), text.data(), static_cast<DWORD>(text.size()), &dwWritten,
                   nullptr) ||
        dwWritten != text.size())
        Die("cannot write " + path);
}

double TimeLoad(const std::string& path, TxCollection& list)
{
    list.FreeAll();
    TxString sDefault;
    double dStart = NowSeconds();
    LoadLanguages(list, sDefault, path.c_str());
    return NowSeconds() - dStart;
}

// One switch to every language, last section first, as seconds per switch.
double TimeSwitches(const TxCollection& list)
{
    double dStart = NowSeconds();
    for (int i = list.GetCount() - 1; i >= 0; --i)
    {
        const COneLanguage& lang = *static_cast<const COneLanguage*>(list.At(i));
        SwitchLanguage(lang.sLanguage, lang.LangId);
    }
    return (NowSeconds() - dStart) / list.GetCount();
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        Die("usage: bench_language <SetupLang.dat> <work folder>");
    std::string path = std::string(argv[2]) + "\\SetupLang50.dat";
    WriteLanguageFile(path, FirstSectionBody(ReadWholeFile(argv[1])));
    SetDefaultTexts();
    TxCollection list(32, 64);
    std::vector<double> loads, switches;
    for (int i = 0; i <= RUNS; ++i)
    {
        double dLoad = TimeLoad(path, list);
        if (list.GetCount() != LANGUAGES)
            Die(Format("LoadLanguages found %d languages", list.GetCount()));
        double dSwitch = TimeSwitches(list);
        if (i == 0)
            continue; // warm-up
        loads.push_back(dLoad);
        switches.push_back(dSwitch);
    }
    DeleteFileA(path.c_str());
    RunSpread perSwitch = SpreadOf(switches);
    PrintResult(Format("Language switch (50 languages, medians of %d)", RUNS),
                SpreadText(perSwitch, "%.3f", 1000) + " ms per switch",
                "LoadLanguages " + SpreadText(SpreadOf(loads), "%.1f", 1000) + " ms",
                SpreadText(perSwitch, "%.3f", 1000) + " ms", "<= 5 ms", AtMost(perSwitch, 0.005));
    return 0;
}
