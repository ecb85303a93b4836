#include "TxDpi.h"

#include "CLog.h"
#include "TxGdiHandles.h"

int ScaleToDpi(int iValue, int iDpi)
{
    return MulDiv(iValue, iDpi, DESIGN_DPI);
}

int SystemDpi()
{
    // The system DPI of a process is fixed at its start.
    static const int s_iDpi = []
    {
        TxWindowDc screen(nullptr);
        int iDpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        if (iDpi > 0)
            return iDpi;
        TX_LOG("SystemDpi - cannot read the screen's DPI: dc=%p", static_cast<void*>(screen.Get()));
        return DESIGN_DPI;
    }();
    return s_iDpi;
}
