#pragma once

// "Syslog Application Information": the switch's applications that log,
// each with its index, description, abbreviation and severity.

#include "CDirectTableDialog.h"

class CSyslogAppInfoDlg : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CSyslogAppInfoDlg(QWidget* parent = nullptr);

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;
};
