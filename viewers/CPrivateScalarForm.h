#pragma once

// The shape of the small private-MIB forms (CLI, DHCP, link aggregation and
// VLAN facts): one get of some scalars of the second private arc, each
// binding shown in its own edit or check box, over SNMPv1 only. A form that
// writes has Apply, enabled only after a read has filled every control: the
// write sends the controls' values, and never-read controls would send
// empty or made-up values.
//
//     CTrunkInfoDlg() : CPrivateScalarForm("Trunk Information", {
//         {"65.1.0", Edit, 1310, "Dot3adAggMibVersion:"}, ...}) {}

#include "CDirectSnmpDialog.h"

#include <functional>

class QCheckBox;
class QLineEdit;

class CPrivateScalarForm : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    enum Kind { Edit, Check };

    struct Binding
    {
        const char* strObject;   // below the arc: "74.2.0"
        Kind kind;
        int nID;                 // the control's id
        const char* strLabel;
        bool bEditable = false;
        // The edit's text for a value; none: the value as received.
        std::function<QString(const QByteArray&)> text = {};
        int nWriteType = 0;      // the type code Apply writes it with; 0 not written
    };

    // The control of binding n.
    QWidget* Control(int n) const { return m_controls.value(n); }
    QLineEdit* EditOf(int n) const;
    QCheckBox* CheckOf(int n) const;
    QPushButton* ApplyButton() const { return m_pApply; }
    CDirectWalk& Walk() { return m_walk; }
    const QList<Binding>& Bindings() const { return m_bindings; }

    // Puts an answer into the controls; false (nothing changed) when it has
    // fewer bindings than the form reads.
    bool FillControls(const CDirectWalk::Response& response);
    // The values Apply sends, in binding order.
    QList<DirectSetValue> WrittenValues() const;

public slots:
    void OnRefresh() override;
    void OnOK();

protected:
    CPrivateScalarForm(const QString& strTitle, QList<Binding> bindings, QWidget* parent = nullptr);

private:
    void ReadScalars();

    const QList<Binding> m_bindings;
    QList<QWidget*> m_controls;
    CDirectWalk m_walk;
    QPushButton* m_pApply = nullptr;
};
