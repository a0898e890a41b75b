#pragma once

// "SNMPv3 Group Information": the security-to-group table (VACM): security model and name from the index, group, storage type, status.

#include "CDirectTableDialog.h"

class CGroupInfo : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CGroupInfo(QWidget* parent = nullptr);

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;
};
