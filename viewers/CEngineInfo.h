#pragma once

// "SNMPv3 Engine Information": the agent's engine ID, boots, time and
// largest message size, in read-only fields.

#include "CDirectSnmpDialog.h"

class QLineEdit;

class CEngineInfo : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    explicit CEngineInfo(QWidget* parent = nullptr);

    // Fields 249 engine ID, 250 boots, 251 time, 252 largest message size.
    QLineEdit* Field(int n) const { return m_pFields[n]; }
    CDirectWalk& Walk() { return m_walk; }

    void OnRefresh() override;

private:
    void ReadScalars();

    CDirectWalk m_walk;
    QLineEdit* m_pFields[4] = {};
};
