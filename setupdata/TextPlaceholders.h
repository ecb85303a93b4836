#pragma once

// True when both format templates hold the same printf conversions in the
// same order ("%%" is a literal and does not count). A translation passes its
// arguments exactly as the English text does, so any other text could read
// an argument of the wrong type.
//
// The other programs may read the bytes one by one or, in a double-byte code
// page, take the byte after a lead byte as part of its character ("\x81%"
// is one character in code page 932, so "\x81%%d" holds a %d there). The
// texts must agree under both readings; uCodePage 0 is the system's ANSI
// code page.
bool SamePlaceholders(const char* pszText, const char* pszTemplate, unsigned uCodePage = 0);
