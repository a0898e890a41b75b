#include "CSyslogInfoDlg.h"

#include "SyslogTexts.h"

namespace {

QList<QByteArray> Columns()
{
    QList<QByteArray> columns;
    for (int c = 1; c <= 9; ++c)
        columns << SyslogTexts::Oid("82.2.8.1") + '.' + QByteArray::number(c);
    return columns;
}

} // namespace

CSyslogInfoDlg::CSyslogInfoDlg(QWidget* parent)
    : CDirectTableDialog(Form::DirectSettings, QStringLiteral("Syslog Information"),
                         {1088,
                          {QStringLiteral(" Index "), QStringLiteral(" LogTime                   "),
                           QStringLiteral(" LogApplication    "), QStringLiteral(" LogSeverity    "),
                           QStringLiteral(" LogMessage               "),
                           QStringLiteral(" LogText1                                 "),
                           QStringLiteral(" LogText2                                  "),
                           QStringLiteral(" LogText3                                 "),
                           QStringLiteral(" LogText4                                   ")},
                          Columns(), 3, 1095, QString()},
                         parent)
{
}

QStringList CSyslogInfoDlg::RowTexts(const CDirectWalk::Response& r) const
{
    if (!SyslogTexts::SameRow(r, m_table.columns))
        return {};   // ends the walk
    QStringList texts = CDirectTableDialog::RowTexts(r);
    texts[3] = SyslogTexts::SeverityToText(r[3].value);
    return texts;
}
