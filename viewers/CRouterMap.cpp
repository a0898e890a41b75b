#include "CRouterMap.h"

#include "DirectTexts.h"

CRouterMap::CRouterMap(QWidget* parent)
    : CDirectTableDialog(Form::DirectSettings, QStringLiteral("Router Table"),
                         {1194,
                          {QStringLiteral("   Destination    "), QStringLiteral("   Gateway IP     "),
                           QStringLiteral("   Netmask        "), QStringLiteral("Interface "), QStringLiteral("Type   "),
                           QStringLiteral(" Protocol "), QStringLiteral(" Age   "), QStringLiteral(" Metric 1 "),
                           QStringLiteral(" Metric 2 "), QStringLiteral(" Metric 3 "), QStringLiteral(" Metric 4 ")},
                          {"1.3.6.1.2.1.4.21.1.1", "1.3.6.1.2.1.4.21.1.7", "1.3.6.1.2.1.4.21.1.11",
                           "1.3.6.1.2.1.4.21.1.2", "1.3.6.1.2.1.4.21.1.8", "1.3.6.1.2.1.4.21.1.9",
                           "1.3.6.1.2.1.4.21.1.10", "1.3.6.1.2.1.4.21.1.3", "1.3.6.1.2.1.4.21.1.4",
                           "1.3.6.1.2.1.4.21.1.5", "1.3.6.1.2.1.4.21.1.6"},
                          3, 1195, QString()},
                         parent)
{
}

QStringList CRouterMap::RowTexts(const CDirectWalk::Response& r) const
{
    QStringList texts = CDirectTableDialog::RowTexts(r);
    texts[4] = DirectTexts::RouteType(r[4].value);
    texts[5] = DirectTexts::RouteProtocol(r[5].value);
    return texts;
}
