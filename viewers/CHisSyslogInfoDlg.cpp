#include "CHisSyslogInfoDlg.h"

#include "SyslogTexts.h"

namespace {

QList<QByteArray> Columns()
{
    QList<QByteArray> columns;
    for (int c = 1; c <= 9; ++c)
        columns << SyslogTexts::Oid("82.2.9.1") + '.' + QByteArray::number(c);
    return columns;
}

} // namespace

CHisSyslogInfoDlg::CHisSyslogInfoDlg(QWidget* parent)
    : CDirectTableDialog(Form::DirectSettings, QStringLiteral("Syslog Information in Cache"),
                         {1088,
                          {QStringLiteral(" Index "), QStringLiteral(" CacheLogTime              "),
                           QStringLiteral(" CacheLogApplication    "), QStringLiteral(" CacheLogSeverity    "),
                           QStringLiteral(" CacheLogMessage               "),
                           QStringLiteral(" CacheLogText1                                 "),
                           QStringLiteral(" CacheLogText2                                  "),
                           QStringLiteral(" CacheLogText3                                 "),
                           QStringLiteral(" CacheLogText4                                   ")},
                          Columns(), 3, 1095, QString()},
                         parent)
{
}

QStringList CHisSyslogInfoDlg::RowTexts(const CDirectWalk::Response& r) const
{
    if (!SyslogTexts::SameRow(r, m_table.columns))
        return {};   // ends the walk
    QStringList texts = CDirectTableDialog::RowTexts(r);
    texts[3] = SyslogTexts::SeverityToText(r[3].value);
    return texts;
}
