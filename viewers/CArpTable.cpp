#include "CArpTable.h"

#include "CListCtrlEx.h"
#include "ControlId.h"
#include "DirectTexts.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

constexpr int kRowsPerPage = 35;
const QString kDocumentName = QStringLiteral(" ARP Information");

// printf's "%Ns": right-aligned in N characters, never cut.
QString Field(const QString& text, int width)
{
    return QStringLiteral("%1").arg(text, width);
}

QString PrintLine(const QString& a, const QString& b, const QString& c, const QString& d)
{
    return Field(a, 10) + QLatin1Char(' ') + Field(b, 16) + QLatin1Char(' ') + Field(c, 20) + QLatin1Char(' ')
        + Field(d, 10);
}

} // namespace

CArpTable::CArpTable(QWidget* parent)
    : CDirectTableDialog(Form::DirectSettings, QStringLiteral("ARP Information"),
                         {1144,
                          {QStringLiteral("Interface "), QStringLiteral("     IP               "),
                           QStringLiteral("       MAC                     "), QStringLiteral("  Type       ")},
                          {"1.3.6.1.2.1.4.22.1.1", "1.3.6.1.2.1.4.22.1.3", "1.3.6.1.2.1.4.22.1.2",
                           "1.3.6.1.2.1.4.22.1.4"},
                          103, 1143, QString()},
                         parent)
{
    m_pPrint = new QPushButton(QStringLiteral("&Print"), this);
    SetControlId(m_pPrint, 12);
    m_pPrint->setAutoDefault(false);
    connect(m_pPrint, &QPushButton::clicked, this, &CArpTable::OnPrint);
    InsertButton(m_pPrint);
}

QStringList CArpTable::RowTexts(const CDirectWalk::Response& r) const
{
    return {QString::fromUtf8(r[0].value), QString::fromUtf8(r[1].value), DirectTexts::ArpMac(r[2].value),
            DirectTexts::ArpType(r[3].value)};
}

void CArpTable::OnPrint()
{
    if (List()->GetItemCount() == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    // No selection, no page range, no printing to a file.
    dialog.setOptions(QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintTo(printer);
}

int CArpTable::PrintTo(QPrinter& printer)
{
    const int entries = List()->GetItemCount();
    if (entries == 0)
        return 0;
    if (!printer.isValid()) {
        Message(QStringLiteral("Can't get printer info!"));
        return -1;
    }
    printer.setDocName(kDocumentName);
    setWindowTitle(kDocumentName);
    QPainter painter;
    if (!painter.begin(&printer)) {
        Message(QStringLiteral("Printer error!"));
        return -1;
    }
    // Twips, as the layout of the page is given: 1440 to the inch, y down.
    const double scale = printer.resolution() / 1440.0;
    painter.scale(scale, scale);
    const int pages = (entries + kRowsPerPage - 1) / kRowsPerPage;
    int printed = 0;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1 && !printer.newPage()) {
            painter.end();
            Message(QStringLiteral("Printer error!"));
            return -1;
        }
        painter.drawText(1340, 360, kDocumentName);
        painter.drawLine(720, 620, 6480, 620);
        painter.drawText(420, 980, PrintLine(QStringLiteral("接口"), QStringLiteral("IP地址   "),
                                             QStringLiteral("MAC 地址   "), QStringLiteral("类型")));
        for (int r = (page - 1) * kRowsPerPage; r < entries && r < page * kRowsPerPage; ++r)
            painter.drawText(360, 1440 + 360 * (r % kRowsPerPage),
                             PrintLine(List()->GetItemText(r, 0), List()->GetItemText(r, 1),
                                       List()->GetItemText(r, 2), List()->GetItemText(r, 3)));
        const QString footer = QStringLiteral("第 %1 页").arg(page);
        painter.drawText((11520 - painter.fontMetrics().horizontalAdvance(footer)) / 2, 14400, footer);
        ++printed;
    }
    painter.end();
    return printed;
}
