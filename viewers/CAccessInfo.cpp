#include "CAccessInfo.h"

#include "DirectTexts.h"

namespace {
const QByteArray kReadView = "1.3.6.1.6.3.16.1.4.1.5";
}

CAccessInfo::CAccessInfo(QWidget* parent)
    : CDirectTableDialog(Form::SettingsCopy, QStringLiteral("SNMPv3 Access Information"),
                         {255,
                          {QStringLiteral(" Group Name "), QStringLiteral(" Security Mode "),
                           QStringLiteral(" Security Level    "), QStringLiteral(" Read Community    "),
                           QStringLiteral(" Write Community    "), QStringLiteral(" General Access Name  "),
                           QStringLiteral("   Storage Mode  ")},
                          {kReadView, "1.3.6.1.6.3.16.1.4.1.6", "1.3.6.1.6.3.16.1.4.1.7", "1.3.6.1.6.3.16.1.4.1.8"},
                          241, 0, QStringLiteral("Access List")},
                         parent)
{
}

QStringList CAccessInfo::RowTexts(const CDirectWalk::Response& r) const
{
    // Index: group name and context prefix by their lengths, then the
    // security model and level.
    QList<quint32> index;
    QString group;
    QString context;
    QString model;
    QString level;
    int pos = 0;
    if (DirectTexts::IndexAfter(r[0].oid, kReadView, index) && DirectTexts::TakeIndexName(index, pos, group)
        && DirectTexts::TakeIndexName(index, pos, context) && pos + 2 == index.size()) {
        model = QString::number(index[pos]);
        level = QString::number(index[pos + 1]);
    }
    return {group,
            DirectTexts::AccessSecurityModel(model),
            DirectTexts::SecurityLevel(level),
            QString::fromUtf8(r[0].value),
            QString::fromUtf8(r[1].value),
            QString::fromUtf8(r[2].value),
            DirectTexts::StorageType(r[3].value)};
}
