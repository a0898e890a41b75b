#include "C8021XUserDLG.h"

#include "C8021XSettingLogic.h"
#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "CUtils.h"
#include "ControlId.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kMaxLength = 15;
constexpr int kMinLength = 4;

} // namespace

C8021XUserDLG::C8021XUserDLG(QWidget* parent)
    : CConfigDialog(QStringLiteral("802.1X User"), std::make_unique<C8021XSettingLogic>(), RefreshClose, parent)
{
    auto* input = new QGroupBox(QStringLiteral("802.1X User"), this);
    auto* form = new QFormLayout(input);
    auto edit = [input](int id, bool hidden) {
        auto* e = new QLineEdit(input);
        SetControlId(e, id);
        e->setMaxLength(kMaxLength);
        if (hidden)
            e->setEchoMode(QLineEdit::Password);
        return e;
    };
    m_pName = edit(IDC_USER_NAME, false);
    m_pPassword = edit(IDC_PASSWORD, true);
    m_pConfirm = edit(IDC_CONFIRM, true);
    form->addRow(QStringLiteral("802.1X User"), m_pName);
    form->addRow(QStringLiteral("Password"), m_pPassword);
    form->addRow(QStringLiteral("ConfirmPassword"), m_pConfirm);
    auto* note = new QLabel(
        QStringLiteral("Note: Password/User Name should be less than 15 characters and more than 3 characters. "), input);
    note->setWordWrap(true);
    form->addRow(note);
    m_pAdd = new QPushButton(QStringLiteral("Add"), input);
    SetControlId(m_pAdd, IDC_ADD);
    auto* addRow = new QHBoxLayout;
    addRow->addStretch(1);
    addRow->addWidget(m_pAdd);
    form->addRow(addRow);
    ContentLayout()->addWidget(input);

    auto* table = new QGroupBox(this);
    auto* tableLayout = new QVBoxLayout(table);
    m_pList = new CListCtrlEx(table);
    SetControlId(m_pList, IDC_LIST);
    m_pList->AppendColumns({{"Id", 50, CListCtrlEx::LVCFMT_RIGHT}, {" User Name", 150}, {" Password ", 150}}, true);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    tableLayout->addWidget(m_pList);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Total Entries:"), table));
    m_pTotal = new QLineEdit(table);
    SetControlId(m_pTotal, IDC_TOTAL);
    m_pTotal->setReadOnly(true);
    m_pTotal->setEnabled(false);
    m_pTotal->setMaximumWidth(80);
    bottom->addWidget(m_pTotal);
    bottom->addStretch(1);
    m_pDelete = new QPushButton(QStringLiteral("Delete"), table);
    SetControlId(m_pDelete, IDC_DELETE);
    bottom->addWidget(m_pDelete);
    tableLayout->addLayout(bottom);
    ContentLayout()->addWidget(table, 1);
    RefreshButton()->setText(QStringLiteral("Refesh"));
    SetControlId(RefreshButton(), IDC_REFRESH);

    // Add checks the name against the list of the last read, and Delete
    // addresses a listed row: both wait for a complete read.
    GateButton(m_pAdd);
    GateButton(m_pDelete);
    connect(m_pAdd, &QPushButton::clicked, this, &C8021XUserDLG::OnAdd);
    connect(m_pDelete, &QPushButton::clicked, this, &C8021XUserDLG::OnDelete);
    connect(RefreshButton(), &QPushButton::clicked, this, &C8021XUserDLG::ClearEdits);

    m_pWrites = NewSequence(Dot1x()->m_cCommonSNMPSet);
    m_pUndo = NewSequence(Dot1x()->m_cCommonSNMPSet);
}

C8021XSettingLogic* C8021XUserDLG::Dot1x() const
{
    return Logic<C8021XSettingLogic>();
}

QString C8021XUserDLG::CheckUser(const QString& strName, const QString& strPassword, const QString& strConfirm,
                                 const QStringList& existing)
{
    if (strName.size() < kMinLength)
        return QStringLiteral("Please Confirm user name length must large than 4 characters.");
    if (strPassword.size() < kMinLength)
        return QStringLiteral("Please Confirm password length must large than 4 characters.");
    if (strPassword != strConfirm)
        return QStringLiteral("Please Confirm User Password!");
    if (existing.contains(strName, Qt::CaseSensitive))
        return QStringLiteral("Duplicate 802.1X User Name");
    return {};
}

void C8021XUserDLG::ClearEdits()
{
    m_pName->clear();
    m_pPassword->clear();
    m_pConfirm->clear();
}

void C8021XUserDLG::OnRefresh()
{
    m_pList->DeleteAllItems();
    m_pTotal->clear();
    m_nTicket = Gate().Expect(QStringLiteral("802.1X users"));
    Dot1x()->SetOwnerWnd(this);
    Dot1x()->GetUserTable();   // reports its end exactly once, also when nothing was sent
}

void C8021XUserDLG::OnModuleNotify(unsigned nMessage, int, const void* pData)
{
    if (nMessage != WM_8021X_TABLE_DONE && nMessage != WM_8021X_TABLE_STALE)
        return;
    FillList();
    // An overtaken walk settles nothing: the newer one reports its own end.
    if (nMessage == WM_8021X_TABLE_DONE && pData)
        Gate().Settle(m_nTicket, *static_cast<const WalkOutcome*>(pData));
}

void C8021XUserDLG::FillList()
{
    m_pList->DeleteAllItems();
    const auto& users = Dot1x()->m_UserList;
    m_pTotal->setText(QString::number(users.size()));
    int id = 0;
    for (const X8021_User_Statistics_Info& user : users) {
        if (user.nRowStatus != 1)
            continue;
        const int item = m_pList->InsertItem(m_pList->GetItemCount(), QString::number(++id));
        m_pList->SetItemText(item, 1, user.strUserName);
        m_pList->SetItemText(item, 2, user.strPassword);
    }
}

void C8021XUserDLG::OnAdd()
{
    QStringList existing;
    for (const X8021_User_Statistics_Info& user : Dot1x()->m_UserList)
        existing << user.strUserName;
    const QString name = m_pName->text();
    const QString refusal = CheckUser(name, m_pPassword->text(), m_pConfirm->text(), existing);
    if (!refusal.isEmpty()) {
        Message(refusal);
        if (name.size() < kMinLength) {
            m_pName->setFocus();
            m_pName->selectAll();
        }
        return;
    }
    const QString index = CUtils::StringToIndex(name);
    const QString status = C8021XSettingLogic::UserColumn(3) + index;
    m_pWrites->Clear();
    m_pWrites->Add(QStringLiteral("create user %1").arg(name), {SnmpSetValue::Integer(status, 4)});
    m_pWrites->Add(QStringLiteral("password of %1").arg(name),
                   {SnmpSetValue::Text(C8021XSettingLogic::UserColumn(2) + index, m_pPassword->text())});
    m_pWrites->Add(QStringLiteral("activate user %1").arg(name), {SnmpSetValue::Integer(status, 1)});
    // A row the switch made but whose password or activation it refused
    // must not stay: it would be an account without the password typed.
    m_pUndo->Clear();
    m_pUndo->Add(QStringLiteral("remove user %1").arg(name), {SnmpSetValue::Integer(status, 6)});
    RunWrites(m_pWrites, m_pUndo, 2);
}

void C8021XUserDLG::OnDelete()
{
    const int item = m_pList->GetFirstSelectedItem();
    if (item < 0) {
        Message(QStringLiteral("Please Choose One To Delete Or Check If Have Any Data"));
        return;
    }
    const QString name = m_pList->GetItemText(item, 1);
    // The row is addressed by the index the switch gave it.
    QString index;
    for (const X8021_User_Statistics_Info& user : Dot1x()->m_UserList)
        if (user.nRowStatus == 1 && user.strUserName == name)
            index = QLatin1Char('.') + user.strIndex;
    if (index.isEmpty())
        return;
    m_pWrites->Clear();
    m_pWrites->Add(QStringLiteral("delete user %1").arg(name),
                   {SnmpSetValue::Integer(C8021XSettingLogic::UserColumn(3) + index, 6)});
    RunWrites(m_pWrites);
}

void C8021XUserDLG::OnWritesDone()
{
    // Only once the switch took the add or delete; a refusal keeps the
    // input for another try.
    ClearEdits();
    CConfigDialog::OnWritesDone();
}

QString C8021XUserDLG::WriteFailureMessage(const SnmpSetFailure& failure) const
{
    return QStringLiteral("please check what you put\n") + CConfigDialog::WriteFailureMessage(failure);
}

QString C8021XUserDLG::UndoResultText(bool bOk, const SnmpSetFailure& undoFailure) const
{
    return bOk ? QStringLiteral("\nThe user was not added.")
               : QStringLiteral("\nRemoving the half-made user failed: %1").arg(undoFailure.Text());
}
