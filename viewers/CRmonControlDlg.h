#pragma once

// "RMON Control": six private RMON control scalars, four of them written.
// SNMPv1 only, on the connection settings as they are at each request.

#include "CDirectSnmpDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

class CRmonControlDlg : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    explicit CRmonControlDlg(QWidget* parent = nullptr);

    QLabel* MibVersion() const { return m_pMibVersion; }          // 49.1.0
    QLabel* MaxGlobalBuckets() const { return m_pMaxBuckets; }    // 49.3.0
    // The four written values: 49.2.0, 49.6.0, 49.7.0, 49.8.0.
    QLineEdit* Edit(int n) const { return m_pEdits[n]; }
    QPushButton* ApplyButton() const { return m_pApply; }
    CDirectWalk& ScalarRead() { return m_cScalars; }

    void OnRefresh() override { ReadScalars(); }

public slots:
    void OnApply();

private:
    void ReadScalars();
    void WriteScalarValues();

    CDirectWalk m_cScalars;
    QLabel* m_pMibVersion = nullptr;
    QLabel* m_pMaxBuckets = nullptr;
    QLineEdit* m_pEdits[4] = {};
    QPushButton* m_pApply = nullptr;
};
