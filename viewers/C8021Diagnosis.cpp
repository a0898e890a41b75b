#include "C8021Diagnosis.h"

namespace {

QList<QByteArray> Columns()
{
    QList<QByteArray> oids;
    for (int c = 1; c <= 18; ++c)
        oids << "1.0.8802.1.1.1.1.2.3.1." + QByteArray::number(c);
    return oids;
}

} // namespace

C8021Diagnosis::C8021Diagnosis(QWidget* parent)
    : CDirectTableDialog(Form::SettingsCopy, QStringLiteral("802.1x Diagnose Information"),
                         {1010,
                          {QStringLiteral("EntersConnecting"), QStringLiteral("EapLogoffsWhileConnecting"),
                           QStringLiteral("EntersAuthenticating"), QStringLiteral("AuthSuccessWhileAuthenticating"),
                           QStringLiteral("AuthTimeoutsWhileAuthenticating"), QStringLiteral("AuthFailWhileAuthenticating"),
                           QStringLiteral("AuthReauthsWhileAuthenticating"), QStringLiteral("AuthEapStartsWhileAuthenticating"),
                           QStringLiteral("AuthEapLogoffWhileAuthenticating"), QStringLiteral("AuthReauthsWhileAuthenticated"),
                           QStringLiteral("AuthEapStartsWhileAuthenticated"), QStringLiteral("AuthEapLogoffWhileAuthenticated"),
                           QStringLiteral("BackendResponses"), QStringLiteral("BackendAccessChallenges"),
                           QStringLiteral("BackendOtherRequestsToSupplicant"),
                           QStringLiteral("BackendNonNakResponsesFromSupplicant"),
                           QStringLiteral("BackendAuthSuccesses"), QStringLiteral("BackendAuthFails")},
                          Columns(), 103, 0, QString()},
                         parent)
{
}
