#pragma once

// "Add VLAN" / "Edit VLAN": VID, name, advertisement and, for every port,
// one of four memberships (Tagged, Untagged, Not Member, Forbidden). OK runs
// the checks in their fixed order, then writes the VLAN; a refused write is
// reported, the dialog stays open with the user's input, and a VLAN row the
// dialog created is removed again.

#include "CConfigDialog.h"
#include "CVlanAddLogic.h"
#include "VLAN_ENTRY.h"

#include <vector>

class CPortGrid;
class QCheckBox;
class QLineEdit;

class CPQSVlanAdd : public CConfigDialog
{
    Q_OBJECT
public:
    enum PortState { Tagged, Untagged, Forbidden, NotMember, StateCount };

    // bAdd: a new VLAN; else the listed VLAN nVid is edited. nVlanMode: 1
    // asymmetric, 2 symmetric (a port is then untagged in one VLAN only).
    CPQSVlanAdd(const VlanList& list, bool bAdd, int nVlanMode, int nVid = 0, QWidget* parent = nullptr);

    CVlanAddLogic* VlanLogic() const { return Logic<CVlanAddLogic>(); }
    QLineEdit* VidEdit() const { return m_editVid; }
    QLineEdit* NameEdit() const { return m_editName; }
    QCheckBox* AdvertisementBox() const { return m_btnAdvertisement; }
    CPortGrid* Row(PortState state) const { return m_rows[state]; }
    QPushButton* AllButton(PortState state) const { return m_allButtons[state]; }
    PortState State(int nPort) const;

protected:
    bool OnInitDialog() override;
    void OnRefresh() override;
    void OnApply() override;
    QString UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const override;

private:
    void OnPortClicked(PortState row, int nPort, bool bChecked);
    void OnAll(PortState row);
    void SetState(int nPort, PortState state);
    PortFlags FlagsOf(std::initializer_list<PortState> states) const;
    bool AdvertisementKnown() const;

    VlanList m_pVlanList;
    bool m_bAdd = true;
    int m_nVlanMode = 2;
    int m_nVid = 0;
    QString m_strAdvertisement;    // edit: the value as read
    std::vector<PortState> m_state;   // per port (port - 1)
    PortFlags m_untaggedElsewhere;

    QLineEdit* m_editName = nullptr;
    QLineEdit* m_editVid = nullptr;
    QCheckBox* m_btnAdvertisement = nullptr;
    CPortGrid* m_rows[StateCount] = {};
    QPushButton* m_allButtons[StateCount] = {};
    CSetSequence* m_pWrites = nullptr;
    CSetSequence* m_pUndo = nullptr;
};
