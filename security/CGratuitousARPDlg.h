#pragma once

// "Gratuitous ARP": the switch's three gratuitous-ARP switches and the send
// interval of each IP interface. An interval is written to the row of the
// interface chosen, by that interface's own index, never by its position
// in the list.

#include "CConfigDialog.h"
#include "CProL3FunLogic.h"

#include <QList>

class CListCtrlEx;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CGratuitousARPDlg : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CGratuitousARPDlg(QWidget* parent = nullptr);

    QCheckBox* Check(int i) const { return m_pChecks[i]; }
    QPushButton* GlobalApplyButton() const { return m_pApplyGlobal; }
    QComboBox* InterfaceCombo() const { return m_pInterface; }
    QLineEdit* IntervalEdit() const { return m_pInterval; }
    QPushButton* IntervalApplyButton() const { return m_pApplyInterval; }
    CListCtrlEx* List() const { return m_pList; }

    void OnModuleNotify(unsigned nMessage, int nCode, const void* pData) override;

protected:
    void OnRefresh() override;

private:
    void OnApplyGlobal();
    void OnApplyInterval();

    QCheckBox* m_pChecks[3] = {};
    QPushButton* m_pApplyGlobal = nullptr;
    QComboBox* m_pInterface = nullptr;
    QLineEdit* m_pInterval = nullptr;
    QPushButton* m_pApplyInterval = nullptr;
    CListCtrlEx* m_pList = nullptr;
    CSetSequence* m_pWrites = nullptr;
    int m_nGlobalTicket = 0;
    int m_nIfTicket = 0;
};
