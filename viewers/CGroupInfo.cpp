#include "CGroupInfo.h"

#include "DirectTexts.h"

namespace {
const QByteArray kGroupName = "1.3.6.1.6.3.16.1.2.1.3";
}

CGroupInfo::CGroupInfo(QWidget* parent)
    : CDirectTableDialog(Form::SettingsCopy, QStringLiteral("SNMPv3 Group Information"),
                         {254,
                          {QStringLiteral(" Security Mode "), QStringLiteral(" Security Name        "),
                           QStringLiteral(" Group Name    "), QStringLiteral("   Storage Mode     "),
                           QStringLiteral("   Group Status  ")},
                          {kGroupName, "1.3.6.1.6.3.16.1.2.1.4", "1.3.6.1.6.3.16.1.2.1.5"},
                          241, 0, QStringLiteral("Group List")},
                         parent)
{
}

QStringList CGroupInfo::RowTexts(const CDirectWalk::Response& r) const
{
    // Index: security model, then the security name by its length.
    QList<quint32> index;
    QString model;
    QString name;
    if (DirectTexts::IndexAfter(r[0].oid, kGroupName, index)) {
        model = QString::number(index[0]);
        int pos = 1;
        DirectTexts::TakeIndexName(index, pos, name);
    }
    return {QStringLiteral("v") + model, name, QString::fromUtf8(r[0].value), DirectTexts::StorageType(r[1].value),
            DirectTexts::RowStatus(r[2].value)};
}
