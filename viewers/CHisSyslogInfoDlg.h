#pragma once

// "Syslog Information in Cache": the log entries the switch keeps in its cache, one row per entry, the severity as its name.

#include "CDirectTableDialog.h"

class CHisSyslogInfoDlg : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CHisSyslogInfoDlg(QWidget* parent = nullptr);

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;
};
