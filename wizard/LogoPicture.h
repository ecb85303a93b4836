#pragma once

#include "TxGdiHandles.h"

// The logo's size at 96 DPI.
constexpr int LOGO_WIDTH = 200;
constexpr int LOGO_HEIGHT = 169;

// The product's logo, drawn once at start for the system DPI: a framed
// landscape under a sun with the product's and the maker's names. Invalid
// when GDI fails.
TxBitmap CreateLogoBitmap();
