#include "CWebConfigDlg.h"

#include "CListCtrlEx.h"
#include "CStatusLine.h"
#include "ControlId.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

const QByteArray kColumn = "1.3.6.1.4.1.32473.10.94.89.89.66.30.1.";

} // namespace

CWebConfigDlg::CWebConfigDlg(QWidget* parent)
    : CDirectTableDialog(Form::SettingsCopy, QStringLiteral("Web Service Configuration"),
                         {202,
                          {QStringLiteral("  Index"), QStringLiteral("  ServiceName     "), QStringLiteral("  Enable       "),
                           QStringLiteral("  UDP Port "), QStringLiteral("  MaxUsers    "), QStringLiteral("  Protocol    "),
                           QStringLiteral("  CertificateId      "), QStringLiteral("  MaxIdleTimeOut            ")},
                          {kColumn + "2", kColumn + "3", kColumn + "4", kColumn + "5", kColumn + "6", kColumn + "7",
                           kColumn + "8"},
                          241, 0, QStringLiteral("Configuration")},
                         parent)
{
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    auto* form = new QFormLayout;
    m_pIndex = new QLineEdit(this);
    m_pIndex->setEnabled(false);
    SetControlId(m_pIndex, 204);
    form->addRow(QStringLiteral("Index:"), m_pIndex);
    m_pPort = new QLineEdit(this);
    m_pPort->setValidator(digits);
    SetControlId(m_pPort, 206);
    form->addRow(QStringLiteral("UDP Port:"), m_pPort);
    m_pIdle = new QLineEdit(this);
    SetControlId(m_pIdle, 205);
    form->addRow(QStringLiteral("MaxIdleTimeOut:"), m_pIdle);
    m_pEnable = new QComboBox(this);
    m_pEnable->addItems({QStringLiteral("disable"), QStringLiteral("enable")});
    SetControlId(m_pEnable, 212);
    form->addRow(QStringLiteral("Status:"), m_pEnable);
    ContentLayout()->addLayout(form);

    m_pApply = new QPushButton(QStringLiteral("&Apply"), this);
    SetControlId(m_pApply, 242);
    connect(m_pApply, &QPushButton::clicked, this, &CWebConfigDlg::OnApply);
    InsertButton(m_pApply);
    connect(List(), &CListCtrlEx::rowClicked, this, &CWebConfigDlg::OnListClick);
    connect(List(), &CListCtrlEx::currentRowChanged, this, &CWebConfigDlg::OnListClick);
}

QString CWebConfigDlg::EnableText(const QByteArray& value)
{
    return value == "2" ? QStringLiteral("disable") : value == "3" ? QStringLiteral("enable") : QStringLiteral("default");
}

QString CWebConfigDlg::ProtocolText(const QByteArray& value)
{
    return value == "2" ? QStringLiteral("http") : value == "3" ? QStringLiteral("https") : QStringLiteral("default");
}

QStringList CWebConfigDlg::RowTexts(const CDirectWalk::Response& r) const
{
    if (r.isEmpty())
        return {};
    // The row's index is whatever follows the first column, however many parts.
    const QByteArray prefix = kColumn + "2.";
    const QByteArray& oid = r[0].oid;
    QStringList texts{QString::fromLatin1(oid.startsWith(prefix) ? oid.mid(prefix.size()) : oid)};
    for (int i = 0; i < r.size(); ++i) {
        if (i == 1)
            texts << EnableText(r[i].value);
        else if (i == 4)
            texts << ProtocolText(r[i].value);
        else
            texts << QString::fromUtf8(r[i].value);
    }
    return texts;
}

void CWebConfigDlg::OnListClick()
{
    const int row = List()->GetFirstSelectedItem();
    if (row < 0)
        return;
    m_pIndex->setText(List()->GetItemText(row, 0));
    m_pIdle->setText(List()->GetItemText(row, 7));
    m_pPort->setText(List()->GetItemText(row, 3));
    // "default" matches no item: no selection, and Apply then writes 1.
    m_pEnable->setCurrentIndex(m_pEnable->findText(List()->GetItemText(row, 2)));
}

void CWebConfigDlg::OnApply()
{
    if (m_pIndex->text().isEmpty())
        return;
    WriteRow();
}

void CWebConfigDlg::WriteRow()
{
    const QString index = m_pIndex->text();
    if (!IsIndex(index, true)) {
        StatusLine()->ShowText(QStringLiteral("Nothing written: \"%1\" is not a table index").arg(index));
        return;
    }
    const QByteArray suffix = "." + index.toLatin1();
    WriteScalars({{kColumn + "4" + suffix, SNMP_TYPE_INTEGER, m_pPort->text().toLatin1()},
                  {kColumn + "8" + suffix, SNMP_TYPE_INTEGER, m_pIdle->text().toLatin1()},
                  {kColumn + "3" + suffix, SNMP_TYPE_INTEGER, QByteArray::number(m_pEnable->currentIndex() + 2)}},
                 [this](int, int, int) { FetchTable(); }, WriteOver::V1AndV3);
}
