#include "CSyslogAppInfoDlg.h"

#include "SyslogTexts.h"

namespace {

const QByteArray kEntry = SyslogTexts::Oid("82.1.3.1.1");

} // namespace

CSyslogAppInfoDlg::CSyslogAppInfoDlg(QWidget* parent)
    : CDirectTableDialog(Form::DirectSettings, QStringLiteral("Syslog Application Information"),
                         {1088,
                          {QStringLiteral(" Application Index "),
                           QStringLiteral(" Application Description                   "),
                           QStringLiteral(" Application Abbreviation    "), QStringLiteral(" Application Severity    ")},
                          {kEntry + ".2", kEntry + ".3", kEntry + ".4"}, 3, 1095, QString()},
                         parent)
{
}

QStringList CSyslogAppInfoDlg::RowTexts(const CDirectWalk::Response& r) const
{
    // The row index is what follows the description column in the first
    // binding's OID.
    const QByteArray column = kEntry + ".2.";
    if (!SyslogTexts::SameRow(r, m_table.columns))
        return {};   // ends the walk
    QStringList texts = CDirectTableDialog::RowTexts(r);
    texts[2] = SyslogTexts::SeverityToText(r[2].value);
    texts.prepend(QString::fromLatin1(r[0].oid.mid(column.size())));
    return texts;
}
