#pragma once

// The LANG_ identifiers a LANGID line may name and their primary language ids,
// as winnt.h defines them; ordered so that the first name of a shared id
// (26: CROATIAN, SERBIAN) is its English name. Plain C++, so that tools built
// without the Windows headers read LANGID lines as the setup does.
// clang-format off
#define QV_LANGUAGE_IDS(X) \
    X(LANG_NEUTRAL, 0x00) \
    X(LANG_AFRIKAANS, 0x36) \
    X(LANG_ALBANIAN, 0x1c) \
    X(LANG_ARABIC, 0x01) \
    X(LANG_ARMENIAN, 0x2b) \
    X(LANG_ASSAMESE, 0x4d) \
    X(LANG_AZERI, 0x2c) \
    X(LANG_BASQUE, 0x2d) \
    X(LANG_BELARUSIAN, 0x23) \
    X(LANG_BENGALI, 0x45) \
    X(LANG_BULGARIAN, 0x02) \
    X(LANG_CATALAN, 0x03) \
    X(LANG_CHINESE, 0x04) \
    X(LANG_CROATIAN, 0x1a) \
    X(LANG_CZECH, 0x05) \
    X(LANG_DANISH, 0x06) \
    X(LANG_DUTCH, 0x13) \
    X(LANG_ENGLISH, 0x09) \
    X(LANG_ESTONIAN, 0x25) \
    X(LANG_FAEROESE, 0x38) \
    X(LANG_FARSI, 0x29) \
    X(LANG_FINNISH, 0x0b) \
    X(LANG_FRENCH, 0x0c) \
    X(LANG_GEORGIAN, 0x37) \
    X(LANG_GERMAN, 0x07) \
    X(LANG_GREEK, 0x08) \
    X(LANG_GUJARATI, 0x47) \
    X(LANG_HEBREW, 0x0d) \
    X(LANG_HINDI, 0x39) \
    X(LANG_HUNGARIAN, 0x0e) \
    X(LANG_ICELANDIC, 0x0f) \
    X(LANG_INDONESIAN, 0x21) \
    X(LANG_ITALIAN, 0x10) \
    X(LANG_JAPANESE, 0x11) \
    X(LANG_KANNADA, 0x4b) \
    X(LANG_KASHMIRI, 0x60) \
    X(LANG_KAZAK, 0x3f) \
    X(LANG_KONKANI, 0x57) \
    X(LANG_KOREAN, 0x12) \
    X(LANG_LATVIAN, 0x26) \
    X(LANG_LITHUANIAN, 0x27) \
    X(LANG_MACEDONIAN, 0x2f) \
    X(LANG_MALAY, 0x3e) \
    X(LANG_MALAYALAM, 0x4c) \
    X(LANG_MANIPURI, 0x58) \
    X(LANG_MARATHI, 0x4e) \
    X(LANG_NEPALI, 0x61) \
    X(LANG_NORWEGIAN, 0x14) \
    X(LANG_ORIYA, 0x48) \
    X(LANG_POLISH, 0x15) \
    X(LANG_PORTUGUESE, 0x16) \
    X(LANG_PUNJABI, 0x46) \
    X(LANG_ROMANIAN, 0x18) \
    X(LANG_RUSSIAN, 0x19) \
    X(LANG_SANSKRIT, 0x4f) \
    X(LANG_SERBIAN, 0x1a) \
    X(LANG_SINDHI, 0x59) \
    X(LANG_SLOVAK, 0x1b) \
    X(LANG_SLOVENIAN, 0x24) \
    X(LANG_SPANISH, 0x0a) \
    X(LANG_SWAHILI, 0x41) \
    X(LANG_SWEDISH, 0x1d) \
    X(LANG_TAMIL, 0x49) \
    X(LANG_TATAR, 0x44) \
    X(LANG_TELUGU, 0x4a) \
    X(LANG_THAI, 0x1e) \
    X(LANG_TURKISH, 0x1f) \
    X(LANG_UKRAINIAN, 0x22) \
    X(LANG_URDU, 0x20) \
    X(LANG_UZBEK, 0x43) \
    X(LANG_VIETNAMESE, 0x2a)
// clang-format on

constexpr int LANGUAGE_ID_NAME_COUNT = 71;
// "LANG_"
constexpr int LANGUAGE_ID_PREFIX_LENGTH = 5;

// The id of a LANG_ identifier (letter case and the blanks around it
// ignored), or -1 when the text names none.
int FindLanguageIdByName(const char* pszName);

// The first identifier that yields wId ("LANG_CROATIAN" for 26), or null.
const char* LanguageIdentifierOf(unsigned wId);
