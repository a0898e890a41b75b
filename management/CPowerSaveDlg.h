#pragma once

// "Power Saving Settings": the four power-saving features with state, time
// profiles and ports, one feature written at a time, and the two detection
// switches. After every read the selected feature's stored settings are in
// the controls, so Apply writes what is shown.

#include "CConfigDialog.h"
#include "CPowSavSettings.h"

class CListCtrlEx;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CPowerSaveDlg : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CPowerSaveDlg(QWidget* parent = nullptr);

    CPowSavSettings* Settings() const { return Logic<CPowSavSettings>(); }
    QCheckBox* CableLengthCheck() const { return m_pCableLength; }
    QCheckBox* LinkStatusCheck() const { return m_pLinkStatus; }
    QPushButton* GlobalApplyButton() const { return m_pGlobalApply; }
    QComboBox* TypeList() const { return m_pType; }
    QComboBox* StateList() const { return m_pState; }
    QComboBox* Profile1List() const { return m_pProfile1; }
    QComboBox* Profile2List() const { return m_pProfile2; }
    QLineEdit* PortEdit() const { return m_pPorts; }
    CListCtrlEx* Summary() const { return m_pSummary; }

    // Selects a profile by its exact name; "None" for the empty name.
    static bool SelectProfile(QComboBox* list, const QString& strName);

protected:
    void OnRefresh() override;
    void OnApply() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnGlobalApply();
    void OnNamesEnd(int nTicket, const WalkOutcome& outcome);
    void ShowSummary();
    void LoadFeature();
    void UpdateAdvanced();

    QCheckBox* m_pCableLength = nullptr;
    QCheckBox* m_pLinkStatus = nullptr;
    QPushButton* m_pGlobalApply = nullptr;
    QComboBox* m_pType = nullptr;
    QComboBox* m_pState = nullptr;
    QComboBox* m_pProfile1 = nullptr;
    QComboBox* m_pProfile2 = nullptr;
    QLineEdit* m_pPorts = nullptr;
    CListCtrlEx* m_pSummary = nullptr;
    CSnmpScalarRead* m_pRead = nullptr;
    CSnmpRowWalk* m_pNames = nullptr;
    CSetSequence* m_pWrites = nullptr;
    bool m_bRead = false;    // settings read
    bool m_bNames = false;   // profile names read
};
