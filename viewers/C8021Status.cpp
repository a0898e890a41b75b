#include "C8021Status.h"

#include "CUtils.h"

namespace {

QList<QByteArray> Columns()
{
    QList<QByteArray> oids;
    for (int c = 1; c <= 12; ++c)
        oids << "1.0.8802.1.1.1.1.2.2.1." + QByteArray::number(c);
    return oids;
}

} // namespace

C8021Status::C8021Status(QWidget* parent)
    : CDirectTableDialog(Form::SettingsCopy, QStringLiteral("802.1x Statistic Information"),
                         {1009,
                          {QStringLiteral("EapolFramesRx"), QStringLiteral("EapolFramesTx"),
                           QStringLiteral("EapolStartFramesRx"), QStringLiteral("EapolLogoffFramesRx"),
                           QStringLiteral("EapolRespIdFramesRx"), QStringLiteral("EapolRespFramesRx"),
                           QStringLiteral("EapolReqIdFramesTx"), QStringLiteral("EapolReqFramesTx"),
                           QStringLiteral("InvalidEapolFramesRx"), QStringLiteral("EapLengthErrorFramesRx"),
                           QStringLiteral("LastEapolFrameVersion"), QStringLiteral("LastEapolFrameSource")},
                          Columns(), 103, 0, QString()},
                         parent)
{
}

QStringList C8021Status::RowTexts(const CDirectWalk::Response& r) const
{
    QStringList texts = CDirectTableDialog::RowTexts(r);
    // The last frame's source is a MAC address in six raw octets: shown as
    // the program writes MAC addresses, not as unreadable characters.
    if (texts.size() == 12 && r[11].value.size() == 6)
        texts[11] = CUtils::OctetsToMacText(r[11].value);
    return texts;
}
