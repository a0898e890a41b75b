#pragma once

// The report-style list view of the dialogs: columns with headings and
// widths, rows of cell texts, row selection. Rows are addressed by their
// position (0-based) and cells by row and column; every index is checked,
// so a bad one does nothing and reads give the empty text.
//
// The selection is one row unless SetMultiSelect(true). Ctrl+C copies the
// selected rows as tab-separated text.
//
// Every list of the program looks the same, whatever its dialog asks:
// alternating row colours and no grid lines (LVS_EX_GRIDLINES is kept as a
// style bit only), a few pixels of padding in each cell, and a column whose
// cells are all numbers right-aligned with its heading; other columns show
// their text left-aligned, or right-aligned where the dialog asked for it.

#include <QTableWidget>

#include <initializer_list>

class CListCtrlEx : public QTableWidget
{
    Q_OBJECT

public:
    // Column alignment of InsertColumn.
    enum { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2 };
    // Extended styles of SetExtendedStyle (flat scroll bars are accepted
    // and have no look of their own here).
    enum : unsigned {
        LVS_EX_GRIDLINES = 0x1,
        LVS_EX_FULLROWSELECT = 0x20,
        LVS_EX_FLATSB = 0x100,
    };

    explicit CListCtrlEx(QWidget* parent = nullptr);
    ~CListCtrlEx() override;

    // Inserts a column at nCol (clamped to the column count) and returns its
    // position. A width below 0 fits the heading (GetStringWidth + 15).
    int InsertColumn(int nCol, const QString& strHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    // One column of AppendColumns: heading, width and alignment.
    struct Column {
        const char* heading;
        int nWidth;
        int nFormat = LVCFMT_LEFT;
    };
    // Appends the columns and keeps the list wide enough to show all of them
    // without scrolling sideways (with room for the vertical scroll bar when
    // bScrollBarRoom).
    void AppendColumns(std::initializer_list<Column> columns, bool bScrollBarRoom = false);
    bool DeleteColumn(int nCol);
    int GetColumnCount() const { return columnCount(); }
    bool SetColumnWidth(int nCol, int nWidth);
    int GetColumnWidth(int nCol) const;
    // Width of a text in the list's font, in pixels.
    int GetStringWidth(const QString& strText) const;

    void SetExtendedStyle(unsigned nStyle);
    unsigned GetExtendedStyle() const { return m_nExtendedStyle; }

    // Inserts a row at nItem (clamped to 0..count, so GetItemCount() appends)
    // with the text of column 0; returns its position, -1 without columns.
    int InsertItem(int nItem, const QString& strText);
    // Appends a row with one text per column (extra texts are dropped).
    int AppendRow(const QStringList& texts);
    bool SetItemText(int nItem, int nSubItem, const QString& strText);
    QString GetItemText(int nItem, int nSubItem) const;
    int GetItemCount() const { return rowCount(); }
    bool DeleteItem(int nItem);
    void DeleteAllItems();

    // A number kept with the row (SetItemData / GetItemData).
    bool SetItemData(int nItem, qint64 nData);
    qint64 GetItemData(int nItem) const;

    // Selection.
    void SetMultiSelect(bool bMulti);
    int GetSelectedCount() const;
    // Selected rows in ascending order.
    QList<int> GetSelectedItems() const;
    // The first selected row, or -1.
    int GetFirstSelectedItem() const;
    // Selects (or deselects) one row; selecting makes it current as well.
    bool SelectItem(int nItem, bool bSelect = true);
    void ClearSelection();
    bool EnsureVisible(int nItem);

    // The selected rows, cells joined by tabs and rows by line feeds.
    QString SelectedRowsText() const;

    // How the cells of a column are shown (see above).
    Qt::Alignment DisplayAlignment(int nCol) const;
    // Blank pixels left and right of a cell's text.
    static constexpr int kCellPadding = 4;

signals:
    // A row was clicked or double-clicked with the mouse.
    void rowClicked(int nItem);
    void rowDoubleClicked(int nItem);
    // The current row changed (mouse or keyboard); -1 when there is none.
    void currentRowChanged(int nItem);
    // A key reached the list; sent before the list moves its selection.
    void keyPressed(int nKey);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool ValidRow(int nItem) const { return nItem >= 0 && nItem < rowCount(); }
    bool ValidCell(int nItem, int nSubItem) const
    {
        return ValidRow(nItem) && nSubItem >= 0 && nSubItem < columnCount();
    }
    Qt::Alignment ColumnAlignment(int nCol) const;
    QTableWidgetItem* MakeItem(int nCol, const QString& strText) const;
    void ContentChanged();
    void UpdateDisplayAlignments() const;

    QList<int> m_columnFormats;
    // Which columns hold only numbers, worked out again after a change.
    mutable QList<bool> m_numericColumns;
    mutable bool m_bAlignmentsStale = true;
    bool m_bHeaderUpdateQueued = false;
    unsigned m_nExtendedStyle = 0;
};
