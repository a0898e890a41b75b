#include "CTelnetCfgDlg.h"

#include "CListCtrlEx.h"
#include "CStatusLine.h"
#include "ControlId.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

const QByteArray kTelnet = "1.3.6.1.4.1.32473.10.94.89.89.58";
const QByteArray kPassword = kTelnet + ".2.0";
const QByteArray kTimeout = kTelnet + ".3.0";
const QByteArray kSessionColumn = kTelnet + ".4.1.";
const QByteArray kSessionStatus = kSessionColumn + "4.";

} // namespace

CTelnetCfgDlg::CTelnetCfgDlg(QWidget* parent)
    : CDirectSnmpDialog(Form::SettingsCopy, QStringLiteral("Telnet Configuration"), parent)
{
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);

    auto* config = new QGroupBox(QStringLiteral("Telnet Configuration"), this);
    auto* configRow = new QHBoxLayout(config);
    configRow->addWidget(new QLabel(QStringLiteral("Password:"), config));
    m_pPassword = new QLineEdit(config);
    m_pPassword->setEnabled(false);
    SetControlId(m_pPassword, 214);
    configRow->addWidget(m_pPassword);
    configRow->addWidget(new QLabel(QStringLiteral("Timeout:"), config));
    m_pTimeout = new QLineEdit(config);
    m_pTimeout->setValidator(digits);
    SetControlId(m_pTimeout, 218);
    configRow->addWidget(m_pTimeout);
    configRow->addWidget(new QLabel(QStringLiteral("Minutes"), config));
    m_pApply243 = new QPushButton(QStringLiteral("&Apply"), config);
    m_pApply243->setAutoDefault(false);
    SetControlId(m_pApply243, 243);
    connect(m_pApply243, &QPushButton::clicked, this, &CTelnetCfgDlg::OnApply243);
    configRow->addWidget(m_pApply243);
    ContentLayout()->addWidget(config);

    auto* sessions = new QGroupBox(QStringLiteral("Session Information"), this);
    auto* sessionsLayout = new QVBoxLayout(sessions);
    m_list = AddList(201,
                     {QStringLiteral(" TelnetSessionId "), QStringLiteral(" ClientAddress            "),
                      QStringLiteral(" LoginTime                   "), QStringLiteral(" Status           ")},
                     sessionsLayout);
    ContentLayout()->addWidget(sessions, 1);
    connect(m_list, &CListCtrlEx::rowClicked, this, &CTelnetCfgDlg::OnSessionClick);
    connect(m_list, &CListCtrlEx::currentRowChanged, this, &CTelnetCfgDlg::OnSessionClick);

    auto* control = new QGroupBox(QStringLiteral("Session Control"), this);
    auto* controlRow = new QHBoxLayout(control);
    controlRow->addWidget(new QLabel(QStringLiteral("Session ID:"), control));
    m_pSessionId = new QLineEdit(control);
    m_pSessionId->setEnabled(false);
    m_pSessionId->setValidator(digits);
    SetControlId(m_pSessionId, 215);
    controlRow->addWidget(m_pSessionId);
    controlRow->addWidget(new QLabel(QStringLiteral("Status:"), control));
    m_pStatus = new QComboBox(control);
    m_pStatus->addItems({QStringLiteral("Connected"), QStringLiteral("UnConnected")});
    SetControlId(m_pStatus, 209);
    controlRow->addWidget(m_pStatus);
    m_pApply242 = new QPushButton(QStringLiteral("&Apply"), control);
    m_pApply242->setAutoDefault(false);
    SetControlId(m_pApply242, 242);
    connect(m_pApply242, &QPushButton::clicked, this, &CTelnetCfgDlg::OnApply242);
    controlRow->addWidget(m_pApply242);
    ContentLayout()->addWidget(control);

    AddButtonRow(241);
    AddWalk(m_cSessionWalk);
    AddWalk(m_cScalars);
    AddWalk(m_cRowRead);
}

QString CTelnetCfgDlg::StatusToText(int nColumn, const CDirectWalk::Binding& value)
{
    if (!value.hasValue)
        return QString();
    if (nColumn == 3)
        return value.value == "1" ? QStringLiteral("Connected") : QStringLiteral("Unconnected");
    return QString::fromUtf8(value.value);
}

void CTelnetCfgDlg::OnRefresh()
{
    ReadScalars();
    FetchSessions();
}

void CTelnetCfgDlg::ReadScalars()
{
    // The password and time-out are read over SNMPv1 only.
    if (Settings().m_nVersion != 1)
        return;
    StartRead(m_cScalars, {kPassword, kTimeout}, SNMP_PDU_GET, QStringLiteral("Telnet settings"),
              [this](const CDirectWalk::Response& r) {
                  if (r.size() > 0)
                      m_pPassword->setText(QString::fromUtf8(r[0].value));
                  if (r.size() > 1)
                      m_pTimeout->setText(QString::fromUtf8(r[1].value));
                  return true;
              });
}

void CTelnetCfgDlg::FetchSessions()
{
    // A pending walk completes the list: no second walk, nothing emptied.
    if (m_cSessionWalk.IsPending())
        return;
    m_list->DeleteAllItems();
    StartRead(m_cSessionWalk, {kSessionColumn + "1", kSessionColumn + "2", kSessionColumn + "3", kSessionColumn + "4"},
              SNMP_PDU_GETNEXT, QStringLiteral("Session table"), [this](const CDirectWalk::Response& r) {
                  if (r.size() < 2)
                      return false;
                  QStringList texts;
                  for (int i = 0; i < r.size(); ++i)
                      texts << StatusToText(i, r[i]);
                  m_list->AppendRow(texts);
                  return true;
              });
}

void CTelnetCfgDlg::OnSessionClick()
{
    const int row = m_list->GetFirstSelectedItem();
    if (row < 0)
        return;
    const QString id = m_list->GetItemText(row, 0);
    m_pSessionId->setText(id);
    ReadSessionRow(id);
}

void CTelnetCfgDlg::ReadSessionRow(const QString& strId)
{
    if (!IsIndex(strId))
        return;
    m_cRowRead.Cancel();
    StartRead(m_cRowRead, {kSessionStatus + strId.toLatin1()}, SNMP_PDU_GET, QStringLiteral("Session status"),
              [this](const CDirectWalk::Response& r) {
                  if (!r.isEmpty())
                      m_pStatus->setCurrentIndex(r[0].value == "1" ? 0 : 1);
                  return true;
              });
}

void CTelnetCfgDlg::OnApply243()
{
    // Written over SNMPv1 only; the template says so when the version is another.
    WriteScalars({{kTimeout, SNMP_TYPE_INTEGER, m_pTimeout->text().toLatin1()}},
                 [this](int, int, int) { ReadScalars(); });
}

void CTelnetCfgDlg::OnApply242()
{
    const QString id = m_pSessionId->text();
    if (id.isEmpty())
        return;
    if (!IsIndex(id)) {
        StatusLine()->ShowText(QStringLiteral("Nothing written: \"%1\" is not a session ID").arg(id));
        return;
    }
    const QByteArray value = m_pStatus->currentIndex() == 0 ? "1" : "2";
    WriteScalars({{kSessionStatus + id.toLatin1(), SNMP_TYPE_INTEGER, value}},
                 [this](int, int, int) { FetchSessions(); }, WriteOver::V1AndV3);
}
