#include "TCSpinEdit.h"

#include "SpinValue.h"

#include <commctrl.h>

TCSpinEdit::TCSpinEdit(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight)
    : TxControl(parent, "EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | ES_NUMBER,
                WS_EX_CLIENTEDGE, iLeft, iTop, iWidth, iHeight),
      m_hUpDown(nullptr), m_iMin(0), m_iMax(100)
{
    m_hUpDown =
        CreatePart(UPDOWN_CLASSA, "",
                   WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                   0, 0, 0, 0, 0);
    SendMessageA(m_hUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    ApplyRange();
}

TCSpinEdit::~TCSpinEdit()
{
    DestroyPart(m_hUpDown);
}

void TCSpinEdit::SetMinValue(int iMin)
{
    m_iMin = iMin;
    ApplyRange();
}

void TCSpinEdit::SetMaxValue(int iMax)
{
    m_iMax = iMax;
    ApplyRange();
}

int TCSpinEdit::Value() const
{
    return SpinValueFromText(GetText().GetText(), m_iMin, m_iMax);
}

void TCSpinEdit::SetValue(int iValue)
{
    int iClamped = ClampSpinValue(iValue, m_iMin, m_iMax);
    SendMessageA(m_hUpDown, UDM_SETPOS32, 0, iClamped);
    // The arrows write the text themselves; a value they already hold
    // must still reach the edit box.
    char szText[16];
    wsprintfA(szText, "%d", iClamped);
    if (!GetText().IsEqual(szText))
        SetText(szText);
}

void TCSpinEdit::MoveWindowPx(const RECT& rc)
{
    TxControl::MoveWindowPx(rc);
    // Buddying again aligns the arrows to the edit box's new place.
    SendMessageA(m_hUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
}

void TCSpinEdit::SetEnabled(bool bEnabled)
{
    TxControl::SetEnabled(bEnabled);
    EnableWindow(m_hUpDown, bEnabled ? TRUE : FALSE);
}

void TCSpinEdit::SetVisible(bool bVisible)
{
    TxControl::SetVisible(bVisible);
    ShowWindow(m_hUpDown, bVisible ? SW_SHOWNA : SW_HIDE);
}

void TCSpinEdit::Command(HWND hFrom, int iCode)
{
    if (hFrom == Handle() && iCode == EN_CHANGE && OnChange)
        OnChange();
}

void TCSpinEdit::ApplyRange()
{
    SendMessageA(m_hUpDown, UDM_SETRANGE32, static_cast<WPARAM>(m_iMin),
                 static_cast<LPARAM>(m_iMax));
}
