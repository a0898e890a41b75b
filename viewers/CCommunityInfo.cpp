#include "CCommunityInfo.h"

#include "DirectTexts.h"

CCommunityInfo::CCommunityInfo(QWidget* parent)
    : CDirectTableDialog(Form::SettingsCopy, QStringLiteral("SNMPv3 Community Information"),
                         {253,
                          {QStringLiteral("   Community Name    "), QStringLiteral("   Security Name    "),
                           QStringLiteral("        Engine ID          "), QStringLiteral("   Storage Mode     ")},
                          {"1.3.6.1.6.3.18.1.1.1.2", "1.3.6.1.6.3.18.1.1.1.3", "1.3.6.1.6.3.18.1.1.1.4",
                           "1.3.6.1.6.3.18.1.1.1.7"},
                          241, 0, QStringLiteral("Community List")},
                         parent)
{
}

QStringList CCommunityInfo::RowTexts(const CDirectWalk::Response& r) const
{
    return {DirectTexts::OctetsAsChars(r[0].value), QString::fromUtf8(r[1].value), DirectTexts::OctetsAsHex(r[2].value),
            DirectTexts::StorageType(r[3].value)};
}
