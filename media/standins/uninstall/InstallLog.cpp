#include "InstallLog.h"

#include "ProductNames.h"
#include "TxDiskApi.h"
#include "TxException.h"
#include "TxTextFile.h"

#include <cctype>
#include <cstring>

namespace
{
struct RecordTag
{
    const char* pszTag;
    LogItemKind Kind;
};

const RecordTag RECORD_TAGS[] = {
    {LOG_TAG_PRGFILE, LogItemKind::ProgramFile}, {LOG_TAG_IMGFILE, LogItemKind::ImageFile},
    {LOG_TAG_FOLDER, LogItemKind::Folder},       {LOG_TAG_AUTORUN, LogItemKind::Autorun},
    {LOG_TAG_LNKFILE, LogItemKind::Shortcut},    {LOG_TAG_UNINST, LogItemKind::UninstallEntry},
};

bool IsPathKind(LogItemKind kind)
{
    return kind != LogItemKind::Autorun && kind != LogItemKind::UninstallEntry;
}

// Registry names are single names: a backslash would reach another key.
bool IsPlainName(const char* pszName)
{
    return *pszName != 0 && std::strchr(pszName, '\\') == nullptr;
}
} // namespace

bool IsAbsolutePath(const char* pszPath)
{
    if (std::isalpha(static_cast<unsigned char>(pszPath[0])) && pszPath[1] == ':' &&
        pszPath[2] == '\\')
        return true;
    return pszPath[0] == '\\' && pszPath[1] == '\\' && pszPath[2] != 0;
}

InstallLog::LoadResult InstallLog::Load(const char* pszPath)
{
    if (!FileExists(pszPath))
        return LoadResult::Missing;
    TxStringCollection lines;
    try
    {
        TxTextFile file(pszPath, true);
        file.ReadLines(lines);
    }
    catch (const Exception&)
    {
        return LoadResult::Unreadable;
    }
    Parse(lines);
    return m_Records.empty() ? LoadResult::Unreadable : LoadResult::Loaded;
}

void InstallLog::Parse(const TxStringCollection& lines)
{
    m_Records.clear();
    m_iBlock = 0;
    m_iSkippedLines = 0;
    for (int i = 0; i < lines.GetCount(); ++i)
        ParseLine(*lines.StringAt(i));
}

void InstallLog::ParseLine(const TxString& sLine)
{
    if (sLine.IsEmpty())
        return;
    const char* pszLine = sLine.GetText();
    if (sLine.Length() >= INSTALL_LOG_TAG_LENGTH &&
        std::strncmp(pszLine, LOG_TAG_TIME, INSTALL_LOG_TAG_LENGTH) == 0)
    {
        ++m_iBlock;
        return;
    }
    for (const RecordTag& tag : RECORD_TAGS)
    {
        if (sLine.Length() < INSTALL_LOG_TAG_LENGTH ||
            std::strncmp(pszLine, tag.pszTag, INSTALL_LOG_TAG_LENGTH) != 0)
            continue;
        const char* pszText = pszLine + INSTALL_LOG_TAG_LENGTH;
        bool bValid = IsPathKind(tag.Kind) ? IsAbsolutePath(pszText) : IsPlainName(pszText);
        if (!bValid)
            break;
        m_Records.push_back(InstallLogRecord{tag.Kind, TxString(pszText), m_iBlock});
        return;
    }
    ++m_iSkippedLines;
}

int InstallLog::BlockCount() const
{
    if (!m_Records.empty() && m_Records.back().iBlock == m_iBlock)
        return m_iBlock + 1;
    return m_iBlock;
}
