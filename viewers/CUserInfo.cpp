#include "CUserInfo.h"

#include "CListCtrlEx.h"
#include "DirectTexts.h"

namespace {
const QByteArray kUserSecurityName = "1.3.6.1.6.3.15.1.2.2.1.3";
const QByteArray kGroupNameUsm = "1.3.6.1.6.3.16.1.2.1.3.3";
} // namespace

CUserInfo::CUserInfo(QWidget* parent)
    : CDirectTableDialog(Form::SettingsCopy, QStringLiteral("SNMPv3 User Information"),
                         {257,
                          {QStringLiteral(" Security Name   "), QStringLiteral(" Group Name   "),
                           QStringLiteral(" Authentication Protocol       "), QStringLiteral(" Cript Protocol       ")},
                          {kUserSecurityName, "1.3.6.1.6.3.15.1.2.2.1.5", "1.3.6.1.6.3.15.1.2.2.1.8"},
                          241, 0, QStringLiteral("User List")},
                         parent)
{
    AddWalk(m_groupWalk);
}

void CUserInfo::OnRefresh()
{
    if (IsBusy())
        return;
    m_userNames.clear();
    m_groups.clear();
    FetchTable();
}

QStringList CUserInfo::RowTexts(const CDirectWalk::Response& r) const
{
    // Index: the engine ID, then the user name, each by its length.
    QList<quint32> index;
    QString engine;
    QString user;
    int pos = 0;
    if (!DirectTexts::IndexAfter(r[0].oid, kUserSecurityName, index) || !DirectTexts::TakeIndexName(index, pos, engine)
        || !DirectTexts::TakeIndexName(index, pos, user))
        user = QString::fromUtf8(r[0].value);
    m_userNames << user;
    return {QString::fromUtf8(r[0].value), QString(),
            r[1].value == "1.3.6.1.6.3.10.1.1.2" ? QStringLiteral("MD5") : QStringLiteral("Other"),
            r[2].value == "1.3.6.1.6.3.10.1.2.2" ? QStringLiteral("DES") : QStringLiteral("Other")};
}

void CUserInfo::OnWalkEnd(int status)
{
    if (status != SNMP_END_OF_WALK || m_userNames.isEmpty())
        return;
    StartRead(m_groupWalk, {kGroupNameUsm}, SNMP_PDU_GETNEXT, QStringLiteral("groups"),
        [this](const CDirectWalk::Response& r) {
            QList<quint32> index;
            QString name;
            int pos = 0;
            if (DirectTexts::IndexAfter(r[0].oid, kGroupNameUsm, index) && DirectTexts::TakeIndexName(index, pos, name))
                m_groups.insert(name, QString::fromUtf8(r[0].value));
            return true;
        },
        [this](int) {
            for (int row = 0; row < m_userNames.size() && row < List()->GetItemCount(); ++row)
                List()->SetItemText(row, 1, m_groups.value(m_userNames[row]));
        });
}
