#pragma once

// "PoE Global Settings": the switch's PoE power budget and redundant power
// supply state, and the change of the power threshold and the shut-off
// sequence (only what changed, in one set request; "set succeed" once the
// switch has taken it).

#include "CConfigDialog.h"

#include <array>

class QComboBox;
class QLineEdit;

class CPOEGlobal : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_THRESHOLD = 1155,
        IDC_SEQUENCE = 1156,
        IDC_RPS = 1157,
        IDC_BUDGET = 1005,
        IDC_USED = 1006,
        IDC_LEFT = 1008,
        IDC_PERCENTAGE = 1009,
    };

    explicit CPOEGlobal(QWidget* parent = nullptr);

    QLineEdit* Threshold() const { return m_pThreshold; }
    QComboBox* Sequence() const { return m_pSequence; }
    QLineEdit* Field(int nId) const;   // one of the read-only edits

    // The threshold check for an RPS state ("off" or "on"): empty when the
    // whole text is a number of watts from 15.4 to 370 (740 with the RPS
    // on), then *pSend is the text to send; else the message to show.
    static QString CheckThreshold(const QString& strText, bool bRpsOn, QString* pSend);

protected:
    void OnRefresh() override;
    void OnApply() override;
    void OnWritesDone() override;

private:
    enum { vThreshold, vSequence, vRps, vBudget, vUsed, vLeft, vPercentage, kValues };

    QLineEdit* m_pThreshold = nullptr;
    QComboBox* m_pSequence = nullptr;
    std::array<QLineEdit*, kValues> m_pFields{};   // by value (none for the sequence); the threshold's is m_pThreshold
    CSnmpScalarRead* m_pRead = nullptr;
    CSetSequence* m_pWrites = nullptr;
    std::array<QString, kValues> m_strLast;   // the values last read, as text
};
