#include "ClxDialog.h"

#include "ControlId.h"
#include "MessageBoxSink.h"
#include "MessageSink.h"

#include <QKeyEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QSizeGrip>

#include <algorithm>

ClxDialog::ClxDialog(QWidget* parent)
    : QDialog(parent)
{
    // Window flags must be final before the first show; changing them on a
    // visible window hides it.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setSizeGripEnabled(false); // ours is placed by hand so it can stay hidden
}

ClxDialog::~ClxDialog() = default;

bool ClxDialog::SetAnchors(const Anchor* pTable, int nCount)
{
    if (!pTable || nCount <= 0)
        return false;
    m_anchors = QList<Anchor>(pTable, pTable + nCount);
    if (m_bInitialised)
        CaptureAnchors();
    return true;
}

void ClxDialog::SetShowGrip(bool bShow)
{
    m_bShowGrip = bShow;
    if (m_pGrip)
        m_pGrip->setVisible(bShow);
}

int ClxDialog::DoModal()
{
    const int result = exec();
    return result == QDialog::Rejected ? int(IDCANCEL) : result;
}

QRect ClxDialog::AnchoredRect(const QRect& rcOriginal, int nMode, int nPercent, int dx, int dy)
{
    if (nPercent < 0 || nPercent > 100)
        return rcOriginal;
    const int sx = dx * nPercent / 100;
    const int sy = dy * nPercent / 100;
    QRect rc = rcOriginal;
    switch (nMode) {
    case AnchorMoveX: rc.moveLeft(rc.left() + sx); break;
    case AnchorMoveY: rc.moveTop(rc.top() + sy); break;
    case AnchorMoveXY: rc.moveTopLeft(rc.topLeft() + QPoint(sx, sy)); break;
    case AnchorGrowX: rc.setWidth(qMax(0, rc.width() + sx)); break;
    case AnchorGrowY: rc.setHeight(qMax(0, rc.height() + sy)); break;
    case AnchorGrowXY:
        rc.setWidth(qMax(0, rc.width() + sx));
        rc.setHeight(qMax(0, rc.height() + sy));
        break;
    default: break;
    }
    return rc;
}

bool ClxDialog::OnInitDialog()
{
    setMinimumSize(size());
    if (!m_pGrip) {
        m_pGrip = new QSizeGrip(this);
        m_pGrip->resize(m_pGrip->sizeHint());
    }
    PlaceGrip();
    m_pGrip->setVisible(m_bShowGrip);
    m_bInitialised = true;
    CaptureAnchors();
    return true;
}

void ClxDialog::showEvent(QShowEvent* event)
{
    if (!m_bInitialised)
        OnInitDialog();
    // A derived OnInitDialog that forgot the base still gets a dialog that
    // cannot shrink below its opening size.
    if (!m_bInitialised) {
        m_bInitialised = true;
        setMinimumSize(size());
        CaptureAnchors();
    }
    QDialog::showEvent(event);
}

void ClxDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!m_bInitialised)
        return;
    ApplyAnchors();
    PlaceGrip();
}

void ClxDialog::keyPressEvent(QKeyEvent* event)
{
    if (m_bSwallowEnterEscape) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

void ClxDialog::CaptureAnchors()
{
    m_referenceSize = size();
    m_anchored.clear();
    for (const Anchor& entry : std::as_const(m_anchors)) {
        QWidget* control = GetDlgItem(this, int(entry.nID));
        if (!control)
            continue;
        m_anchored.append({entry, control, control->geometry()});
    }
}

void ClxDialog::ApplyAnchors()
{
    const int dx = width() - m_referenceSize.width();
    const int dy = height() - m_referenceSize.height();
    // Several entries for one control apply one after the other (there is no
    // single mode for "move down and widen"), each starting where the
    // entries before it left the control.
    QList<std::pair<QWidget*, QRect>> placed;
    for (const AnchoredControl& a : std::as_const(m_anchored)) {
        if (!a.control || a.entry.nPercent < 0 || a.entry.nPercent > 100)
            continue;
        auto it = std::find_if(placed.begin(), placed.end(), [&a](const auto& p) { return p.first == a.control; });
        if (it == placed.end())
            it = placed.insert(placed.end(), {a.control.data(), a.rcOriginal});
        it->second = AnchoredRect(it->second, a.entry.nMode, a.entry.nPercent, dx, dy);
    }
    for (const auto& [control, rc] : std::as_const(placed))
        control->setGeometry(rc);
}

void ClxDialog::PlaceGrip()
{
    if (!m_pGrip)
        return;
    m_pGrip->move(width() - m_pGrip->width(), height() - m_pGrip->height());
    m_pGrip->raise();
}

int ClxDialog::Message(const QString& strText, unsigned nFlags)
{
    return WindowMessage(this, strText, nFlags);
}
