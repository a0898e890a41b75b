#pragma once

// Base of the dialogs whose content grows with the window: topmost,
// resizable, never smaller than it opened, a size grip in the lower right
// corner, and an optional anchor table that moves or stretches listed
// controls by a share of the size change.
//
// Derived dialogs build their widgets in the constructor and override
// OnInitDialog() for the work that needs the final geometry (it runs once,
// just before the dialog is first shown); they call ClxDialog::OnInitDialog()
// first. Controls named in the anchor table are found by their control id
// (see ControlId.h) and must be placed by hand, not by a layout.

#include "MessageSink.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QSize>

class QSizeGrip;

class ClxDialog : public QDialog
{
    Q_OBJECT

public:
    // How an anchored control follows a size change (dx, dy).
    enum AnchorMode {
        AnchorMoveX = 0,      // left edge moves by dx * percent / 100
        AnchorMoveY = 1,      // top edge moves by dy * percent / 100
        AnchorMoveXY = 2,     // both
        AnchorGrowX = 3,      // width grows by dx * percent / 100
        AnchorGrowY = 4,      // height grows by dy * percent / 100
        AnchorGrowXY = 5,     // both
    };

    // One entry of the anchor table. Entries with a percent outside 0..100,
    // an unknown mode or an id that names no control are ignored; entries
    // for the same control add up in table order.
    struct Anchor
    {
        unsigned nID;
        int nMode;
        int nPercent;
    };

    explicit ClxDialog(QWidget* parent = nullptr);
    ~ClxDialog() override;

    // Stores a copy of the table. False (and nothing changes) for a null
    // table or a count of 0 or less.
    bool SetAnchors(const Anchor* pTable, int nCount);

    // Shows or hides the size grip; before the dialog opens it decides how
    // the grip starts. A hidden grip still follows the corner.
    void SetShowGrip(bool bShow);

    // Enter and Escape do nothing (the dialog closes only through its
    // buttons or the window's close button).
    void SetSwallowEnterEscape(bool bSwallow) { m_bSwallowEnterEscape = bSwallow; }

    // Runs the dialog modally: IDOK when accepted, IDCANCEL when rejected,
    // any other code given to done() as it is.
    int DoModal();

    QSizeGrip* GetSizeGrip() const { return m_pGrip; }

    // A message box titled like the dialog, through the message sink.
    int Message(const QString& strText, unsigned nFlags = MB_OK | MB_ICONWARNING);

    // Where a control whose rectangle was rcOriginal at the reference size
    // lies after the dialog grew by (dx, dy). Integer arithmetic, the product
    // divided by 100 truncated toward zero; sizes never go below 0.
    static QRect AnchoredRect(const QRect& rcOriginal, int nMode, int nPercent, int dx, int dy);

protected:
    // Runs once, right before the first show: topmost, minimum size = the
    // size at opening, the size grip, the anchors' reference geometry.
    virtual bool OnInitDialog();

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct AnchoredControl
    {
        Anchor entry;
        QPointer<QWidget> control;
        QRect rcOriginal;
    };

    void CaptureAnchors();
    void ApplyAnchors();
    void PlaceGrip();

    QList<Anchor> m_anchors;
    QList<AnchoredControl> m_anchored;
    // The client size the anchors' original rectangles belong to. Every
    // resize is computed from it, so the rounding of many small steps never
    // accumulates.
    QSize m_referenceSize;
    QSizeGrip* m_pGrip = nullptr;
    bool m_bShowGrip = true;
    bool m_bInitialised = false;
    bool m_bSwallowEnterEscape = false;
};
