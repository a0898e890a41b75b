#pragma once

// "RMON 1 Control": the index, interface and owner of a new RMON
// statistics entry. It checks nothing itself: CStatisticRmon1 does before
// it sends.

#include "ClxDialog.h"

class QLineEdit;

class CRmon1Entry : public ClxDialog
{
    Q_OBJECT
public:
    explicit CRmon1Entry(QWidget* parent = nullptr);

    QLineEdit* IndexEdit() const { return m_pIndex; }
    QLineEdit* InterfaceEdit() const { return m_pInterface; }
    QLineEdit* PropertyEdit() const { return m_pProperty; }

    // The fields as the user left them at OK.
    QString m_strIndex;
    QString m_strInterface;
    QString m_strProperty = QStringLiteral("Orvane");

public slots:
    // Takes the fields (OK).
    void accept() override;

private:
    QLineEdit* m_pIndex = nullptr;
    QLineEdit* m_pInterface = nullptr;
    QLineEdit* m_pProperty = nullptr;
};
