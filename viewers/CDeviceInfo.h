#pragma once

// "Device Information": the switch's power supplies (description, state,
// source) and four port facts, over SNMPv1 or v3.

#include "CDirectSnmpDialog.h"

class QLineEdit;

class CDeviceInfo : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    explicit CDeviceInfo(QWidget* parent = nullptr);

    // The power source code as text: version 3 uses the MIB's own names.
    static QString SourceText(const QByteArray& value, int version);

    CListCtrlEx* PowerList() const { return m_pList; }
    // 0 web port (245), 1 number of ports (246), 2 user-defined port (247),
    // 3 loopback port (248).
    QLineEdit* PortEdit(int n) const { return m_pEdits[n]; }
    CDirectWalk& PowerWalk() { return m_walkPower; }
    CDirectWalk& PortWalk() { return m_walkPorts; }

public slots:
    void OnRefresh() override;

private:
    void ReadScalars();
    void FetchPowerTable();

    CListCtrlEx* m_pList = nullptr;
    QLineEdit* m_pEdits[4] = {};
    CDirectWalk m_walkPower;
    CDirectWalk m_walkPorts;
};
