#include "CRmon1Entry.h"

#include "ControlId.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CRmon1Entry::CRmon1Entry(QWidget* parent)
    : ClxDialog(parent)
{
    setWindowTitle(QStringLiteral("RMON 1 Control"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_pIndex = new QLineEdit(this);
    SetControlId(m_pIndex, 900);
    form->addRow(QStringLiteral("Index:"), m_pIndex);
    m_pInterface = new QLineEdit(this);
    SetControlId(m_pInterface, 901);
    form->addRow(QStringLiteral("Interface:"), m_pInterface);
    m_pProperty = new QLineEdit(m_strProperty, this);
    SetControlId(m_pProperty, 902);
    form->addRow(QStringLiteral("Property:"), m_pProperty);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    SetControlId(ok, 1);
    QPushButton* cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    SetControlId(cancel, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRmon1Entry::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRmon1Entry::reject);
    layout->addWidget(buttons);
}

void CRmon1Entry::accept()
{
    m_strIndex = m_pIndex->text();
    m_strInterface = m_pInterface->text();
    m_strProperty = m_pProperty->text();
    ClxDialog::accept();
}
