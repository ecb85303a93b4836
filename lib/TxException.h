#pragma once

#include "TxString.h"

#include <exception>

// Base exception: a message text and a help context number.
class Exception : public std::exception
{
public:
    explicit Exception(const char* pszMessage) : m_sMessage(pszMessage), m_iHelpContext(0) {}
    const char* what() const noexcept override { return m_sMessage.GetText(); }
    const TxString& Message() const { return m_sMessage; }
    int HelpContext() const { return m_iHelpContext; }

private:
    TxString m_sMessage;
    int m_iHelpContext;
};

// Every failure the library raises is an ExNormal.
class ExNormal : public Exception
{
public:
    explicit ExNormal(const char* pszMessage) : Exception(pszMessage), m_dwReserved(0) {}

private:
    unsigned long m_dwReserved;
};

// Kept apart from ExNormal so that callers may catch one and not the other.
class ExCritical : public Exception
{
public:
    explicit ExCritical(const char* pszMessage) : Exception(pszMessage), m_dwReserved(0) {}

private:
    unsigned long m_dwReserved;
};

// Raises the calling thread's last system error with the system's own text,
// logging it first. Returns without throwing when the error code is 0.
void ThrowLastError(bool bCritical);

// Throws ExNormal with library error text iIndex; the texts with a
// placeholder are formatted with pszFileName, cut to fit 300 characters.
[[noreturn]] void ThrowLibraryError(int iIndex, const char* pszFileName = nullptr);
