#pragma once

// "SNMPv3 Access Information": the access table (VACM): group, model and level from the index, the three views, storage type.

#include "CDirectTableDialog.h"

class CAccessInfo : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CAccessInfo(QWidget* parent = nullptr);

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;
};
