#pragma once

// "Syslog Configuration": the switch's own logging switch and the minimum
// severities it logs to the console, to its file and to its cache. Apply
// writes all four, and only once they have been read: a form that never
// read them would write "logging off" and "Emergency" over the switch's
// settings.

#include "CDirectSnmpDialog.h"

class QCheckBox;
class QComboBox;

class CSyslogCfgDlg : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    explicit CSyslogCfgDlg(QWidget* parent = nullptr);

    QCheckBox* EnableBox() const { return m_pEnable; }
    // 0 console (211), 1 file (214), 2 cache (215).
    QComboBox* SeverityCombo(int n) const { return m_pCombos[n]; }
    QPushButton* ApplyButton() const { return m_pApply; }
    CDirectWalk& Walk() { return m_walk; }

public slots:
    void OnRefresh() override;
    void OnOK();

private:
    void ReadScalars();
    void WriteScalars();

    CDirectWalk m_walk;
    QCheckBox* m_pEnable = nullptr;
    QComboBox* m_pCombos[3] = {};
    QPushButton* m_pApply = nullptr;
};
