#pragma once

// "ARP Information": the switch's address-translation table
// (ipNetToMediaTable) with its entry count, and a printout of 35 entries a
// page.

#include "CDirectTableDialog.h"

class QPrinter;
class QPushButton;

class CArpTable : public CDirectTableDialog
{
    Q_OBJECT
public:
    explicit CArpTable(QWidget* parent = nullptr);

    QPushButton* PrintButton() const { return m_pPrint; }

    // Prints the list on `printer` (which the print dialog has set up);
    // the number of pages printed, 0 for an empty list, -1 after a message.
    int PrintTo(QPrinter& printer);

public slots:
    void OnPrint();

protected:
    QStringList RowTexts(const CDirectWalk::Response& response) const override;

private:
    QPushButton* m_pPrint = nullptr;
};
