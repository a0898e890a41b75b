#pragma once

// "802.1X Global Settings ": whether port authentication is on, whether
// EAPOL frames are forwarded, and whether users are checked against RADIUS
// or the local table. Apply sends only what differs from what was read, in
// one request; nothing can be applied before a read succeeded.

#include "CConfigDialog.h"

#include <QString>

class QComboBox;
class QRadioButton;

class C8021XGlobalDlg : public CConfigDialog
{
    Q_OBJECT
public:
    enum {
        IDC_STATE_ENABLED = 1137,
        IDC_STATE_DISABLED = 1140,
        IDC_EAPOL_ENABLED = 1138,
        IDC_EAPOL_DISABLED = 1139,
        IDC_PROTOCOL = 1141,
    };

    explicit C8021XGlobalDlg(QWidget* parent = nullptr);

    // The three objects, in the order Apply sends them.
    static QString StateOid();
    static QString ForwardEapolOid();
    static QString ProtocolOid();

    QRadioButton* StateEnabled() const { return m_pStateEnabled; }
    QRadioButton* StateDisabled() const { return m_pStateDisabled; }
    QRadioButton* EapolEnabled() const { return m_pEapolEnabled; }
    QRadioButton* EapolDisabled() const { return m_pEapolDisabled; }
    QComboBox* Protocol() const { return m_pProtocol; }

protected:
    void OnRefresh() override;
    void OnApply() override;

private:
    void OnStateEnabledClicked();

    QComboBox* m_pProtocol = nullptr;
    QRadioButton* m_pStateEnabled = nullptr;
    QRadioButton* m_pStateDisabled = nullptr;
    QRadioButton* m_pEapolEnabled = nullptr;
    QRadioButton* m_pEapolDisabled = nullptr;
    CSnmpScalarRead* m_pRead = nullptr;
    CSetSequence* m_pWrites = nullptr;
    // The texts last read (state, forward EAPOL, protocol).
    QString m_strState;
    QString m_strEapol;
    QString m_strProtocol;
};
