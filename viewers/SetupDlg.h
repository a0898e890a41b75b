#pragma once

// "Device Parameter Configuration": edits the device address and the SNMP
// time-out of the process-wide connection settings. What is created or sent
// afterwards uses the new values. Both are stored as entered: a blank
// address is "0.0.0.0", an empty time-out is the library's default.

#include "ClxDialog.h"

class QLineEdit;
class QPushButton;

class SetupDlg : public ClxDialog
{
    Q_OBJECT
public:
    explicit SetupDlg(QWidget* parent = nullptr);

    QLineEdit* AddressEdit() const { return m_pAddress; }
    QLineEdit* TimeoutEdit() const { return m_pTimeout; }

    // The dotted address an IP address field shows: every empty part 0,
    // every part at most 255.
    static QString AddressText(const QString& fieldText);

    // Set once the settings have been written (OK or Apply).
    int m_bSaved = 0;
    QString m_strDeviceIP = QStringLiteral("0.0.0.0");
    QString m_strTimeout = QStringLiteral("2000");

public slots:
    void OnApply();

protected:
    bool OnInitDialog() override;
    void accept() override;

private:
    void LoadSettings();
    void SaveSettings();

    QLineEdit* m_pAddress = nullptr;
    QLineEdit* m_pTimeout = nullptr;
};
