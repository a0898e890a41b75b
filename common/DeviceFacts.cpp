#include "DeviceFacts.h"

bool IsPoeModel(const QString& model)
{
    const QString family = QStringLiteral("PQS");
    const QString rest = model.startsWith(family) ? model.mid(family.size()) : model;
    return rest.contains(u'P') || rest.contains(u'p');
}
