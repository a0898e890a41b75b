#pragma once

// An IPv4 address entered as four fields of 0-255. Digits only; a field
// takes at most three digits and a value above 255 is not accepted; "." or
// a blank moves to the next field, as does a third digit; Backspace in an
// empty field goes back to the one before. The address counts only when
// all four fields are filled; its text is then canonical dotted decimal
// ("010" gives "10"). While some but not all fields are filled the control
// shows a red frame.

#include <QFrame>
#include <QString>

class QLineEdit;

class CIPv4AddressCtrl : public QFrame
{
    Q_OBJECT
public:
    explicit CIPv4AddressCtrl(QWidget* parent = nullptr);

    // How many of the four fields hold a number.
    int FilledCount() const;
    bool IsComplete() const { return FilledCount() == 4; }
    bool IsBlank() const { return FilledCount() == 0; }
    // Neither blank nor complete: what the red frame marks.
    bool IsInvalid() const { return !IsBlank() && !IsComplete(); }
    // The canonical dotted text when complete, else the fields as they
    // stand joined by dots ("192.168.." for two fields).
    QString GetAddress() const;
    // Takes a dotted quad; anything else empties the control. False then.
    bool SetAddress(const QString& text);
    void ClearAddress();
    QLineEdit* Field(int i) const { return m_pFields[i]; }

signals:
    void addressChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnFieldEdited(int i);
    void UpdateLook();

    QLineEdit* m_pFields[4] = {};
};
