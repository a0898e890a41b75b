// A small dialog made of the kit as a feature dialog would use it: an
// address edit in a form, two per-port rows (numbers over boxes) in a group
// box, a list and a progress bar, laid out by Qt layouts. With
// VELMARC_DEMO_PNG set, the dialog is saved there as a picture.

#include "CBtnEXT.h"
#include "CEditEXIPV6.h"
#include "CGradientProgressCtrl.h"
#include "CListCtrlEx.h"
#include "ClxDialog.h"
#include "TestApp.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

class DemoDialog : public ClxDialog
{
public:
    explicit DemoDialog(int nPorts)
        // Each row's second-row offset leaves room for one row of the other
        // kind: numbers 1-26, boxes 1-26, numbers 27-52, boxes 27-52.
        : m_labels(nPorts, 20, 22)
        , m_boxes(nPorts, 20, 22)
    {
        setWindowTitle(QStringLiteral("Kit demo"));
        auto* top = new QVBoxLayout(this);

        auto* form = new QFormLayout;
        m_edit = new CEditEXIPV6(this);
        m_edit->setText(QStringLiteral("fe80::1%eth0"));
        form->addRow(QStringLiteral("Server IP:"), m_edit);
        top->addLayout(form);

        auto* group = new QGroupBox(QStringLiteral("Port Member"), this);
        auto* groupLayout = new QVBoxLayout(group);
        m_host = new QWidget(group);
        groupLayout->addWidget(m_host);
        // Numbers and boxes share cell, gap and origin; each row of boxes
        // sits under its row of numbers.
        for (CBtnEXT* row : {&m_labels, &m_boxes}) {
            row->SetParent(m_host);
            row->CalcGap(0, 26 * 20 + 25 * 6);
        }
        m_labels.Create(CBtnEXT::kLabelStyle, 7501, 0, 0, 0, 0, 0);
        m_boxes.Create(CBtnEXT::kCheckBoxStyle, 8001, 0, 22, 0, 22, 0);
        for (int i = 0; i < nPorts; i += 3)
            m_boxes.SetCheck(1, i);
        const QRect used = m_labels.GetRect().united(m_boxes.GetRect());
        m_host->setMinimumSize(used.right() + 1, used.bottom() + 1);
        top->addWidget(group);

        m_list = new CListCtrlEx(this);
        m_list->InsertColumn(0, QStringLiteral("VLAN ID"), CListCtrlEx::LVCFMT_LEFT, 80);
        m_list->InsertColumn(1, QStringLiteral("VLAN Name"), CListCtrlEx::LVCFMT_CENTER, 120);
        m_list->InsertColumn(2, QStringLiteral("Egress Port Member"));
        m_list->SetExtendedStyle(CListCtrlEx::LVS_EX_GRIDLINES | CListCtrlEx::LVS_EX_FULLROWSELECT);
        m_list->AppendRow({QStringLiteral("1"), QStringLiteral("default"), QStringLiteral("1-52")});
        m_list->AppendRow({QStringLiteral("10"), QStringLiteral("office"), QStringLiteral("1,3,5-8")});
        m_list->AppendRow({QStringLiteral("20"), QStringLiteral("cameras"), QStringLiteral("27-40")});
        m_list->SelectItem(1);
        m_list->setMinimumHeight(120);
        top->addWidget(m_list);

        m_bar = new CGradientProgressCtrl(this);
        m_bar->SetStartColor(0x00C83C3C);
        m_bar->SetEndColor(0x00FF3C3C);
        m_bar->SetShowPercent(true);
        m_bar->SetPos(60);
        top->addWidget(m_bar);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        top->addWidget(buttons);
    }

    CBtnEXT m_labels;
    CBtnEXT m_boxes;
    CEditEXIPV6* m_edit = nullptr;
    QWidget* m_host = nullptr;
    CListCtrlEx* m_list = nullptr;
    CGradientProgressCtrl* m_bar = nullptr;
};

} // namespace

// In a layout-built dialog the per-port rows keep their columns (each box
// under its number, no two controls overlapping), the host reserves room
// for both rows so the group box does not clip the second row, and the
// dialog still opens at a size it can be resized from.
TEST(KitDemo, PerPortRowsAlignedInsideTheLayout)
{
    EnsureTestApp();
    DemoDialog dlg(52);
    dlg.show();
    ASSERT_EQ(dlg.minimumSize(), dlg.size());
    for (int i = 0; i < 52; ++i) {
        const QRect label = dlg.m_labels.GetLabel(i)->geometry();
        const QRect box = dlg.m_boxes.GetCheckBox(i)->geometry();
        EXPECT_LE(qAbs(label.center().x() - box.center().x()), 1) << i;
        EXPECT_TRUE(dlg.m_host->rect().contains(box)) << i;
        EXPECT_TRUE(dlg.m_host->rect().contains(label)) << i;
        if (i + 1 < 52 && i + 1 != 26) {
            EXPECT_FALSE(label.intersects(dlg.m_labels.GetLabel(i + 1)->geometry())) << i;
        }
        // A box never covers a number of the row above or below.
        for (int j = 0; j < 52; ++j) {
            EXPECT_FALSE(box.intersects(dlg.m_labels.GetLabel(j)->geometry())) << i << " " << j;
        }
    }
    EXPECT_EQ(dlg.m_edit->GetStatus(), CEditEXIPV6::StatusValid);

    if (const QByteArray path = qgetenv("VELMARC_DEMO_PNG"); !path.isEmpty()) {
        EXPECT_TRUE(dlg.grab().save(QString::fromLocal8Bit(path)));
    }
}
