#pragma once

#include "TxControl.h"

#include "TxCallback.h"

// An edit box for a whole number with up and down arrows, kept within a
// minimum and a maximum.
class TCSpinEdit : public TxControl
{
public:
    TCSpinEdit(TxForm& parent, int iLeft, int iTop, int iWidth, int iHeight);
    ~TCSpinEdit() override;

    void SetMinValue(int iMin);
    void SetMaxValue(int iMax);
    int MinValue() const { return m_iMin; }
    int MaxValue() const { return m_iMax; }
    // The number typed, held within the range; the minimum when there is none.
    int Value() const;
    void SetValue(int iValue);

    void SetEnabled(bool bEnabled) override;
    void SetVisible(bool bVisible) override;
    void Command(HWND hFrom, int iCode) override;

    TxCallback<void()> OnChange;

protected:
    // Places the edit box and the arrows at its right within rc.
    void MoveWindowPx(const RECT& rc) override;

private:
    void ApplyRange();

    HWND m_hUpDown;
    int m_iMin;
    int m_iMax;
};
