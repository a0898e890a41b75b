#pragma once

// "SNMPv3 Community Information": the agent's community table (SNMP-COMMUNITY-MIB): name, security name, context engine ID, storage type.

#include "CDirectTableDialog.h"

class CCommunityInfo : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CCommunityInfo(QWidget* parent = nullptr);

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;
};
