#pragma once

// "802.1x Statistic Information": the EAPOL frame counters of every authenticator port (dot1xAuthStatsTable), one row per port.

#include "CDirectTableDialog.h"

class C8021Status : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit C8021Status(QWidget* parent = nullptr);

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;
};
