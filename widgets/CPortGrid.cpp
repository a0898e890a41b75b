#include "CPortGrid.h"

#include "ControlId.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

constexpr int kUplinks = 4;
constexpr int kGroup = 8;

// A box without text shows no focus in most styles: draw the ring around
// the whole cell.
class CPortBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QCheckBox::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect();
        option.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }

    QSize sizeHint() const override
    {
        const QSize hint = QCheckBox::sizeHint();
        return {hint.width() + 4, hint.height() + 2};   // room for the ring
    }
};

} // namespace

CPortGrid::CPortGrid(int nPorts, int nFirstID, QWidget* parent)
    : QWidget(parent)
{
    nPorts = qMax(0, nPorts);
    m_nCopper = nPorts > kGroup ? nPorts - kUplinks : nPorts;
    for (int port = 1; port <= nPorts; ++port) {
        auto* label = new QLabel(QString::number(port), this);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        auto* box = new CPortBox(this);
        box->setAccessibleName(tr("Port %1").arg(port));
        if (nFirstID > 0)
            SetControlId(box, nFirstID + port - 1);
        connect(box, &QCheckBox::clicked, this, [this, port](bool checked) { emit portToggled(port, checked); });
        m_labels.append(label);
        m_boxes.append(box);
    }
    BuildLayout();
}

void CPortGrid::BuildLayout()
{
    delete layout();
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(0);

    const int count = GetCount();
    const bool twoRows = count > 28;
    const int copperPerRow = twoRows ? (m_nCopper + 1) / 2 : m_nCopper;
    const int uplinks = count - m_nCopper;
    const int uplinksPerRow = twoRows ? (uplinks + 1) / 2 : uplinks;

    // Pitch from the font: the widest two- or three-digit number or the box,
    // whichever is larger, plus a little air.
    const QFontMetrics fm(font());
    const int numberWidth = fm.horizontalAdvance(count >= 100 ? QStringLiteral("888") : QStringLiteral("88"));
    int boxWidth = 0;
    for (QCheckBox* box : std::as_const(m_boxes))
        boxWidth = qMax(boxWidth, box->sizeHint().width());
    const int pitch = qMax(numberWidth + fm.averageCharWidth(), boxWidth) + 2;
    const int groupGap = qMax(6, fm.averageCharWidth());
    const int uplinkGap = 2 * groupGap;
    const int rowGap = qMax(8, fm.height() / 2);

    // Grid columns: port columns with gap columns between groups.
    auto columnOf = [&](int slot, bool uplink) {
        // slot: position within the row's copper ports or uplinks.
        if (!uplink)
            return slot + slot / kGroup;   // a gap column after every group
        const int copperColumns = copperPerRow + (copperPerRow - 1) / kGroup;
        return copperColumns + 1 + slot;
    };
    for (int port = 1; port <= count; ++port) {
        const bool uplink = port > m_nCopper;
        int row = 0;
        int slot = 0;
        if (!uplink) {
            row = twoRows && port > copperPerRow ? 1 : 0;
            slot = port - 1 - row * copperPerRow;
        } else {
            const int u = port - m_nCopper - 1;
            row = twoRows && u >= uplinksPerRow ? 1 : 0;
            slot = u - row * uplinksPerRow;
        }
        const int column = columnOf(slot, uplink);
        const int gridRow = row * 3;   // number, box, gap
        grid->addWidget(m_labels[port - 1], gridRow, column, Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(m_boxes[port - 1], gridRow + 1, column, Qt::AlignHCenter | Qt::AlignTop);
        grid->setColumnMinimumWidth(column, pitch);
    }
    const int copperColumns = copperPerRow + (copperPerRow - 1) / kGroup;
    for (int c = kGroup; c < copperColumns; c += kGroup + 1)
        grid->setColumnMinimumWidth(c, groupGap);
    if (uplinks > 0)
        grid->setColumnMinimumWidth(copperColumns, uplinkGap);
    if (twoRows)
        grid->setRowMinimumHeight(2, rowGap);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CPortGrid::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        BuildLayout();   // the pitch follows the font
}

void CPortGrid::SetChecked(int nPort, bool bChecked)
{
    if (ValidPort(nPort))
        m_boxes[nPort - 1]->setChecked(bChecked);
}

bool CPortGrid::IsChecked(int nPort) const
{
    return ValidPort(nPort) && m_boxes[nPort - 1]->isChecked();
}

void CPortGrid::EnablePort(int nPort, bool bEnable)
{
    if (!ValidPort(nPort))
        return;
    m_boxes[nPort - 1]->setEnabled(bEnable);
    m_labels[nPort - 1]->setEnabled(bEnable);
}

void CPortGrid::EnableAll(bool bEnable)
{
    for (int port = 1; port <= GetCount(); ++port)
        EnablePort(port, bEnable);
}

void CPortGrid::SetAll(bool bChecked)
{
    for (QCheckBox* box : std::as_const(m_boxes))
        box->setChecked(bChecked);
}

void CPortGrid::SetBitmap(const QByteArray& bitmap)
{
    for (int port = 1; port <= GetCount(); ++port) {
        const int byte = (port - 1) / 8;
        const bool set = byte < bitmap.size() && (quint8(bitmap[byte]) & (0x80 >> ((port - 1) % 8)));
        m_boxes[port - 1]->setChecked(set);
    }
}

QByteArray CPortGrid::GetBitmap(int nOctets) const
{
    QByteArray bitmap(qMax(nOctets, (GetCount() + 7) / 8), '\0');
    for (int port = 1; port <= GetCount(); ++port)
        if (m_boxes[port - 1]->isChecked())
            bitmap[(port - 1) / 8] = char(quint8(bitmap[(port - 1) / 8]) | (0x80 >> ((port - 1) % 8)));
    return bitmap;
}

std::vector<int> CPortGrid::GetPortArray() const
{
    std::vector<int> ports(size_t(GetCount()), 0);
    for (int port = 1; port <= GetCount(); ++port)
        ports[size_t(port - 1)] = m_boxes[port - 1]->isChecked() ? 1 : 0;
    return ports;
}

void CPortGrid::SetPortArray(const std::vector<int>& ports)
{
    for (int port = 1; port <= GetCount(); ++port)
        m_boxes[port - 1]->setChecked(size_t(port - 1) < ports.size() && ports[size_t(port - 1)] != 0);
}

QList<int> CPortGrid::GetPorts() const
{
    QList<int> ports;
    for (int port = 1; port <= GetCount(); ++port)
        if (m_boxes[port - 1]->isChecked())
            ports.append(port);
    return ports;
}

QCheckBox* CPortGrid::GetCheckBox(int nPort) const
{
    return ValidPort(nPort) ? m_boxes[nPort - 1] : nullptr;
}

QLabel* CPortGrid::GetLabel(int nPort) const
{
    return ValidPort(nPort) ? m_labels[nPort - 1] : nullptr;
}
