#pragma once

// "Syslog Information": the switch's log, one row per entry, the severity as its name.

#include "CDirectTableDialog.h"

class CSyslogInfoDlg : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CSyslogInfoDlg(QWidget* parent = nullptr);

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;
};
