#pragma once

// One small control per switch port, laid out like the front panel: either
// port-number labels or check boxes (a dialog that shows numbers above boxes
// holds two objects with the same cell size, gap and origin, so the columns
// line up). Up to 28 ports stand in one row; above 28 the ports split into
// two rows, the second row under the first.
//
// Port index = port number - 1. Control ids are first id + index; each
// control's object name carries its id (ControlId.h), so a dialog finds
// port p's box as first id + p - 1.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

class QCheckBox;
class QLabel;
class QWidget;

class CBtnEXT : public QObject
{
    Q_OBJECT

public:
    // Styles given to Create: centred number labels with a sunken border,
    // or automatic check boxes. Any style other than the label style makes
    // check boxes.
    static constexpr unsigned kLabelStyle = 0x1001;
    static constexpr unsigned kCheckBoxStyle = 3;
    // Above this many ports the controls go into two rows.
    static constexpr int kMaxSingleRow = 28;
    // Added between the two rows, besides the second-row offset.
    static constexpr int kRowGap = 2;

    // Check states of SetCheck/GetCheck.
    enum { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };

    CBtnEXT(int nCount, int nCellSize, int nSecondRowOffset);
    ~CBtnEXT() override;

    CBtnEXT(const CBtnEXT&) = delete;
    CBtnEXT& operator=(const CBtnEXT&) = delete;

    void SetParent(QWidget* pParent) { m_pParent = pParent; }
    void SetGap(int nGap) { m_nGap = nGap; }
    int GetGap() const { return m_nGap; }

    // Stores and returns the column gap that spreads the longest row over
    // nLeftX..nRightX. Never negative; 0 when a row holds a single control.
    int CalcGap(int nLeftX, int nRightX);

    // Creates and shows the controls in the parent. Layout 0 starts the first
    // row at (x2, y1), layout 1 at (x1, y2). False when there is no parent,
    // no port, or Create already ran.
    bool Create(unsigned nStyle, int nFirstID, int x1, int y1, int x2, int y2, int nLayout);

    // From the top-left corner of the first control's cell to the
    // bottom-right corner of the last one, in the parent's coordinates.
    // Empty before Create.
    QRect GetRect() const;
    void GetRect(QRect* pRect) const;

    // Check-box operations; an index outside 0..count-1, a label row or a
    // row not yet created is ignored (GetCheck then gives BST_UNCHECKED).
    void EnablePort(bool bEnable, int nIndex);
    void SetCheck(int nCheck, int nIndex);
    int GetCheck(int nIndex) const;

    // Shows (any non-zero command) or hides (0) every control.
    void ShowAll(int nCmdShow);
    // Enables or disables every check box.
    void EnableAll(bool bEnable);

    int GetCount() const { return m_nCount; }
    int GetFirstID() const { return m_nFirstID; }
    int GetPerRow() const;
    bool IsCreated() const { return m_nState == 2; }
    bool HasLabels() const { return !m_labels.isEmpty(); }

    // The cell of a port in the parent's coordinates (empty for a bad index).
    QRect GetCellRect(int nIndex) const;
    // The index of a control id of this row, or -1.
    int IndexFromID(int nID) const;

    QCheckBox* GetCheckBox(int nIndex) const;
    QLabel* GetLabel(int nIndex) const;

signals:
    // A check box was clicked by the user (its new state is already set).
    void portClicked(int nIndex, int nID);

private:
    bool ValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < m_nCount; }

    QList<QPointer<QCheckBox>> m_boxes;
    QList<QPointer<QLabel>> m_labels;
    int m_nCellSize;
    int m_nSecondRowOffset;
    int m_nCount;
    int m_nFirstID = 0;
    int m_nGap = 0;
    QPointer<QWidget> m_pParent;
    QPoint m_origin;
    int m_nState = 1;
};
