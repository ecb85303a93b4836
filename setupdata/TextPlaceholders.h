#pragma once

// True when both format templates hold the same printf conversions in the
// same order ("%%" is a literal and does not count). A translation passes its
// arguments exactly as the English text does, so any other text could read
// an argument of the wrong type.
bool SamePlaceholders(const char* pszText, const char* pszTemplate);
