#pragma once

// "Web Service Configuration": the switch's web services (a private table
// with a multi-part index) and one service's enable state, UDP port and
// maximum idle time-out.

#include "CDirectTableDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class CWebConfigDlg : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CWebConfigDlg(QWidget* parent = nullptr);

    QLineEdit* IndexEdit() const { return m_pIndex; }
    QLineEdit* PortEdit() const { return m_pPort; }
    QLineEdit* IdleEdit() const { return m_pIdle; }
    QComboBox* EnableCombo() const { return m_pEnable; }
    QPushButton* ApplyButton() const { return m_pApply; }

    static QString EnableText(const QByteArray& value);     // "2" disable, "3" enable, else "default"
    static QString ProtocolText(const QByteArray& value);   // "2" http, "3" https, else "default"

public slots:
    void OnListClick();
    void OnApply();

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;

private:
    void WriteRow();

    QLineEdit* m_pIndex = nullptr;
    QLineEdit* m_pPort = nullptr;
    QLineEdit* m_pIdle = nullptr;
    QComboBox* m_pEnable = nullptr;
    QPushButton* m_pApply = nullptr;
};
