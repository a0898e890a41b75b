#pragma once

// "Jumbo Frame Configuration": the switch-wide jumbo-frame switch. Apply
// writes it and closes the dialog once the switch has taken it.

#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

class CSetSequence;
class QCheckBox;

class CJumboFrameconfigdlg : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CJumboFrameconfigdlg(QWidget* parent = nullptr);

    static QString JumboOid();

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;

private:
    CCommonSNMP& m_cCommonSNMP;
    CSnmpScalarRead m_read;
    CSetSequence* m_pWrites = nullptr;
    QCheckBox* m_pEnable = nullptr;   // 1062
    bool m_bWroteOn = false;
};
