#pragma once

// "Trunk member": the member ports of one aggregated link. The opener gives
// the link id, its channel mode text and its current member text; the
// picker shows one box per port, allows 2 to 8 members, runs the link
// rules on what the switch holds (OK stays off until every read of them has
// succeeded) and writes the member map and the channel mode in one set.
// A set the switch refuses is reported and the picker stays open.

#include "CConfigDialog.h"
#include "CTrunkPortLogic.h"

class CPortGrid;
class CSetSequence;
class QLineEdit;

class CPQSTrunkPort : public CConfigDialog
{
    Q_OBJECT
public:
    explicit CPQSTrunkPort(QWidget* parent = nullptr);
    ~CPQSTrunkPort() override;

    // Inputs, set before the dialog opens.
    QString m_strTrunkId;   // decimal link id
    QString m_strMode;      // "LACP" or "Static"
    QString m_strMembers;   // "1,3,5"

    CPortGrid* PortGrid() const { return m_pPortBtns; }
    CTrunkPortLogic& Logic() { return m_cTrunkLogic; }

public slots:
    void done(int result) override;

protected:
    bool OnInitDialog() override;
    void OnRefresh() override;
    void OnApply() override;

private:
    void LoadMembers();

    CTrunkPortLogic m_cTrunkLogic;
    QLineEdit* m_editTrunkId = nullptr;
    QLineEdit* m_editMode = nullptr;
    CPortGrid* m_pPortBtns = nullptr;
    CSetSequence* m_pWrite = nullptr;
};
