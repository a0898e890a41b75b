#pragma once

// "Router Table": the switch's routing table (ipRouteTable) with its entry count.

#include "CDirectTableDialog.h"

class CRouterMap : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CRouterMap(QWidget* parent = nullptr);

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;
};
