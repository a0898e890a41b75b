#include "CBtnEXT.h"

#include "ControlId.h"

#include <QCheckBox>
#include <QLabel>
#include <QWidget>

CBtnEXT::CBtnEXT(int nCount, int nCellSize, int nSecondRowOffset)
    : m_nCellSize(qMax(0, nCellSize))
    , m_nSecondRowOffset(nSecondRowOffset)
    , m_nCount(qMax(0, nCount))
{
}

CBtnEXT::~CBtnEXT()
{
    // Exactly the controls this row made; any the parent already deleted
    // are null here.
    for (const QPointer<QCheckBox>& box : std::as_const(m_boxes))
        delete box.data();
    for (const QPointer<QLabel>& label : std::as_const(m_labels))
        delete label.data();
}

int CBtnEXT::GetPerRow() const
{
    return m_nCount > kMaxSingleRow ? m_nCount / 2 : m_nCount;
}

int CBtnEXT::CalcGap(int nLeftX, int nRightX)
{
    // The longest row decides: with an odd count above 28 the second row
    // holds one control more than the first and must fit as well.
    const int longest = m_nCount - (m_nCount > kMaxSingleRow ? m_nCount / 2 : 0);
    if (longest < 2)
        m_nGap = 0;
    else
        m_nGap = qMax(0, (nRightX - nLeftX - m_nCellSize * longest) / (longest - 1));
    return m_nGap;
}

QRect CBtnEXT::GetCellRect(int nIndex) const
{
    if (!IsCreated() || !ValidIndex(nIndex))
        return {};
    const int perRow = GetPerRow();
    const int step = m_nGap + m_nCellSize;
    if (nIndex < perRow)
        return QRect(m_origin.x() + nIndex * step, m_origin.y(), m_nCellSize, m_nCellSize);
    const int top = m_origin.y() + m_nCellSize + m_nSecondRowOffset + kRowGap;
    return QRect(m_origin.x() + (nIndex - perRow) * step, top, m_nCellSize, m_nCellSize);
}

bool CBtnEXT::Create(unsigned nStyle, int nFirstID, int x1, int y1, int x2, int y2, int nLayout)
{
    if (IsCreated()) {
        qWarning("CBtnEXT::Create: the row %d.. exists already", m_nFirstID);
        return false;
    }
    if (!m_pParent || m_nCount <= 0)
        return false;

    m_nFirstID = nFirstID;
    m_origin = nLayout == 0 ? QPoint(x2, y1) : QPoint(x1, y2);
    m_nState = 2;

    const bool labels = nStyle == kLabelStyle;
    for (int i = 0; i < m_nCount; ++i) {
        const QRect cell = GetCellRect(i);
        if (labels) {
            auto* label = new QLabel(QString::number(i + 1), m_pParent);
            label->setAlignment(Qt::AlignCenter);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setGeometry(cell);
            SetControlId(label, nFirstID + i);
            label->show();
            m_labels.append(label);
        } else {
            auto* box = new QCheckBox(m_pParent);
            // The indicator sits in the middle of its cell, under the
            // number label of the same column.
            const QSize hint = box->sizeHint().boundedTo(cell.size());
            QRect rc(QPoint(0, 0), hint);
            rc.moveCenter(cell.center());
            box->setGeometry(rc);
            SetControlId(box, nFirstID + i);
            box->setToolTip(tr("Port %1").arg(i + 1));
            connect(box, &QCheckBox::clicked, this, [this, i] { emit portClicked(i, m_nFirstID + i); });
            box->show();
            m_boxes.append(box);
        }
    }
    return true;
}

QRect CBtnEXT::GetRect() const
{
    if (!IsCreated())
        return {};
    return GetCellRect(0).united(GetCellRect(m_nCount - 1));
}

void CBtnEXT::GetRect(QRect* pRect) const
{
    if (pRect)
        *pRect = GetRect();
}

QCheckBox* CBtnEXT::GetCheckBox(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_boxes.size())
        return nullptr;
    return m_boxes[nIndex].data();
}

QLabel* CBtnEXT::GetLabel(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_labels.size())
        return nullptr;
    return m_labels[nIndex].data();
}

int CBtnEXT::IndexFromID(int nID) const
{
    if (!IsCreated())
        return -1;
    const int index = nID - m_nFirstID;
    return ValidIndex(index) ? index : -1;
}

void CBtnEXT::EnablePort(bool bEnable, int nIndex)
{
    if (QCheckBox* box = GetCheckBox(nIndex))
        box->setEnabled(bEnable);
}

void CBtnEXT::SetCheck(int nCheck, int nIndex)
{
    QCheckBox* box = GetCheckBox(nIndex);
    if (!box)
        return;
    if (nCheck == BST_INDETERMINATE) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
    } else {
        box->setCheckState(nCheck ? Qt::Checked : Qt::Unchecked);
        box->setTristate(false);
    }
}

int CBtnEXT::GetCheck(int nIndex) const
{
    const QCheckBox* box = GetCheckBox(nIndex);
    if (!box)
        return BST_UNCHECKED;
    switch (box->checkState()) {
    case Qt::Checked: return BST_CHECKED;
    case Qt::PartiallyChecked: return BST_INDETERMINATE;
    default: return BST_UNCHECKED;
    }
}

void CBtnEXT::ShowAll(int nCmdShow)
{
    for (const QPointer<QCheckBox>& box : std::as_const(m_boxes)) {
        if (box)
            box->setVisible(nCmdShow != 0);
    }
    for (const QPointer<QLabel>& label : std::as_const(m_labels)) {
        if (label)
            label->setVisible(nCmdShow != 0);
    }
}

void CBtnEXT::EnableAll(bool bEnable)
{
    for (const QPointer<QCheckBox>& box : std::as_const(m_boxes)) {
        if (box)
            box->setEnabled(bEnable);
    }
}
