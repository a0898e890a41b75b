#pragma once

// "System Information": the MIB-II system group, with the system name and
// location writable. Apply writes both in one set, reports a refusal and
// shows what the switch then holds.

#include "CCommonSNMP.h"
#include "CConfigDialog.h"
#include "CSnmpScalarRead.h"

class CSetSequence;
class QLabel;
class QLineEdit;

class CSnmpDevIden : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CSnmpDevIden(QWidget* parent = nullptr);
    ~CSnmpDevIden() override;

    // Re-reads the six objects (what "&Refresh" does).
    void ReadSystemGroup() { Refresh(); }
    // Checks and writes the name and location (what "&Apply" does).
    void ApplySystemInfo() { OnApply(); }

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;

private:
    CCommonSNMP m_cCommonSNMP;
    CCommonSNMP m_cCommonSNMPSet;
    CSnmpScalarRead m_read;
    CSetSequence* m_pWrite = nullptr;
    bool m_bWritten = false;   // a write succeeded; say so once the re-read is in

    QLabel* m_pDescr = nullptr;
    QLabel* m_pObjectId = nullptr;
    QLabel* m_pUpTime = nullptr;
    QLineEdit* m_pContact = nullptr;
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pLocation = nullptr;
};
