#include "CListCtrlEx.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

namespace {

// A cell text that reads as a number: "7", "-3", "15.4".
bool IsNumber(const QString& strText)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]+(\\.[0-9]+)?$"));
    return number.match(strText.trimmed()).hasMatch();
}

// Draws a cell with the list's alignment of its column and the padding.
class CListCellDelegate : public QStyledItemDelegate
{
public:
    explicit CListCellDelegate(CListCtrlEx* list)
        : QStyledItemDelegate(list)
        , m_pList(list)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += 2 * CListCtrlEx::kCellPadding;
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = m_pList->DisplayAlignment(index.column()) | Qt::AlignVCenter;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // The selection and row colour cover the whole cell; only the text
        // keeps off its edges.
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
        QStyleOptionViewItem text = option;
        initStyleOption(&text, index);
        text.rect.adjust(CListCtrlEx::kCellPadding, 0, -CListCtrlEx::kCellPadding, 0);
        text.backgroundBrush = Qt::NoBrush;
        text.state &= ~QStyle::State_HasFocus;
        text.features &= ~QStyleOptionViewItem::Alternate;
        text.showDecorationSelected = false;
        // The text in the selection's colour without a second highlight.
        if (text.state & QStyle::State_Selected) {
            text.palette.setBrush(QPalette::Text, text.palette.brush(QPalette::HighlightedText));
            text.state &= ~QStyle::State_Selected;
        }
        style->drawControl(QStyle::CE_ItemViewItem, &text, painter, widget);
    }

private:
    CListCtrlEx* m_pList;
};

} // namespace

CListCtrlEx::CListCtrlEx(QWidget* parent)
    : QTableWidget(parent)
{
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(false);
    setTabKeyNavigation(false);
    setAlternatingRowColors(true);
    setItemDelegate(new CListCellDelegate(this));
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);

    // Any change of cells or columns may change which columns are numbers.
    QAbstractItemModel* cells = model();
    connect(cells, &QAbstractItemModel::dataChanged, this, &CListCtrlEx::ContentChanged);
    connect(cells, &QAbstractItemModel::rowsInserted, this, &CListCtrlEx::ContentChanged);
    connect(cells, &QAbstractItemModel::rowsRemoved, this, &CListCtrlEx::ContentChanged);
    connect(cells, &QAbstractItemModel::columnsInserted, this, &CListCtrlEx::ContentChanged);
    connect(cells, &QAbstractItemModel::columnsRemoved, this, &CListCtrlEx::ContentChanged);
    connect(cells, &QAbstractItemModel::modelReset, this, &CListCtrlEx::ContentChanged);

    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit rowClicked(row); });
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { emit rowDoubleClicked(row); });
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (row != previousRow)
                    emit currentRowChanged(row);
            });
}

CListCtrlEx::~CListCtrlEx()
{
    // The table's model outlives this part of the object: QTableWidget
    // deletes it later and clears it on the way, which would call
    // ContentChanged on a list that is no longer one.
    disconnect(model(), nullptr, this, nullptr);
}

int CListCtrlEx::GetStringWidth(const QString& strText) const
{
    return fontMetrics().horizontalAdvance(strText);
}

int CListCtrlEx::InsertColumn(int nCol, const QString& strHeading, int nFormat, int nWidth)
{
    const int col = qBound(0, nCol, columnCount());
    insertColumn(col);
    m_columnFormats.insert(col, nFormat);
    auto* header = new QTableWidgetItem(strHeading);
    header->setTextAlignment(ColumnAlignment(col) | Qt::AlignVCenter);
    setHorizontalHeaderItem(col, header);
    const int padding = 15;
    setColumnWidth(col, nWidth >= 0 ? nWidth : GetStringWidth(strHeading) + padding);
    return col;
}

void CListCtrlEx::AppendColumns(std::initializer_list<Column> columns, bool bScrollBarRoom)
{
    int width = 0;
    for (const Column& c : columns) {
        InsertColumn(columnCount(), QString::fromUtf8(c.heading), c.nFormat, c.nWidth);
        width += c.nWidth;
    }
    const int scrollBar = bScrollBarRoom ? verticalScrollBar()->sizeHint().width() : 0;
    setMinimumWidth(width + 2 * frameWidth() + scrollBar + 4);
}

bool CListCtrlEx::DeleteColumn(int nCol)
{
    if (nCol < 0 || nCol >= columnCount())
        return false;
    removeColumn(nCol);
    m_columnFormats.removeAt(nCol);
    return true;
}

bool CListCtrlEx::SetColumnWidth(int nCol, int nWidth)
{
    if (nCol < 0 || nCol >= columnCount() || nWidth < 0)
        return false;
    setColumnWidth(nCol, nWidth);
    return true;
}

int CListCtrlEx::GetColumnWidth(int nCol) const
{
    if (nCol < 0 || nCol >= columnCount())
        return 0;
    return columnWidth(nCol);
}

void CListCtrlEx::SetExtendedStyle(unsigned nStyle)
{
    // Kept for the dialogs that ask; the look is the same for every list.
    m_nExtendedStyle = nStyle;
}

void CListCtrlEx::ContentChanged()
{
    m_bAlignmentsStale = true;
    // Headings follow once the current batch of changes is in (a walk fills
    // hundreds of cells in one go).
    if (m_bHeaderUpdateQueued)
        return;
    m_bHeaderUpdateQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_bHeaderUpdateQueued = false;
        for (int col = 0; col < columnCount(); ++col)
            if (QTableWidgetItem* header = horizontalHeaderItem(col)) {
                const Qt::Alignment wanted = DisplayAlignment(col) | Qt::AlignVCenter;
                if (header->textAlignment() != int(wanted))
                    header->setTextAlignment(wanted);
            }
    });
}

void CListCtrlEx::UpdateDisplayAlignments() const
{
    if (!m_bAlignmentsStale)
        return;
    m_bAlignmentsStale = false;
    m_numericColumns.fill(false, columnCount());
    for (int col = 0; col < columnCount(); ++col) {
        bool bAny = false;
        bool bAllNumbers = true;
        for (int row = 0; row < rowCount() && bAllNumbers; ++row) {
            const QTableWidgetItem* cell = item(row, col);
            const QString text = cell ? cell->text() : QString();
            if (text.trimmed().isEmpty())
                continue;
            bAny = true;
            bAllNumbers = IsNumber(text);
        }
        m_numericColumns[col] = bAny && bAllNumbers;
    }
}

Qt::Alignment CListCtrlEx::DisplayAlignment(int nCol) const
{
    if (nCol < 0 || nCol >= columnCount())
        return Qt::AlignLeft;
    UpdateDisplayAlignments();
    if (m_numericColumns.value(nCol))
        return Qt::AlignRight;
    return ColumnAlignment(nCol) == Qt::AlignRight ? Qt::AlignRight : Qt::AlignLeft;
}

Qt::Alignment CListCtrlEx::ColumnAlignment(int nCol) const
{
    switch (m_columnFormats.value(nCol, LVCFMT_LEFT) & 0x3) {
    case LVCFMT_RIGHT: return Qt::AlignRight;
    case LVCFMT_CENTER: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

QTableWidgetItem* CListCtrlEx::MakeItem(int nCol, const QString& strText) const
{
    auto* item = new QTableWidgetItem(strText);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(ColumnAlignment(nCol) | Qt::AlignVCenter);
    return item;
}

int CListCtrlEx::InsertItem(int nItem, const QString& strText)
{
    if (columnCount() == 0)
        return -1;
    const int row = qBound(0, nItem, rowCount());
    insertRow(row);
    for (int col = 0; col < columnCount(); ++col)
        setItem(row, col, MakeItem(col, col == 0 ? strText : QString()));
    return row;
}

int CListCtrlEx::AppendRow(const QStringList& texts)
{
    const int row = InsertItem(rowCount(), texts.value(0));
    for (int col = 1; row >= 0 && col < texts.size() && col < columnCount(); ++col)
        item(row, col)->setText(texts[col]);
    return row;
}

bool CListCtrlEx::SetItemText(int nItem, int nSubItem, const QString& strText)
{
    if (!ValidCell(nItem, nSubItem))
        return false;
    if (QTableWidgetItem* cell = item(nItem, nSubItem))
        cell->setText(strText);
    else
        setItem(nItem, nSubItem, MakeItem(nSubItem, strText));
    return true;
}

QString CListCtrlEx::GetItemText(int nItem, int nSubItem) const
{
    if (!ValidCell(nItem, nSubItem))
        return {};
    const QTableWidgetItem* cell = item(nItem, nSubItem);
    return cell ? cell->text() : QString();
}

bool CListCtrlEx::DeleteItem(int nItem)
{
    if (!ValidRow(nItem))
        return false;
    removeRow(nItem);
    return true;
}

void CListCtrlEx::DeleteAllItems()
{
    clearSelection();
    setRowCount(0);
}

bool CListCtrlEx::SetItemData(int nItem, qint64 nData)
{
    if (!ValidCell(nItem, 0))
        return false;
    QTableWidgetItem* cell = item(nItem, 0);
    if (!cell) {
        cell = MakeItem(0, QString());
        setItem(nItem, 0, cell);
    }
    cell->setData(Qt::UserRole, nData);
    return true;
}

qint64 CListCtrlEx::GetItemData(int nItem) const
{
    if (!ValidCell(nItem, 0))
        return 0;
    const QTableWidgetItem* cell = item(nItem, 0);
    return cell ? cell->data(Qt::UserRole).toLongLong() : 0;
}

void CListCtrlEx::SetMultiSelect(bool bMulti)
{
    setSelectionMode(bMulti ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

QList<int> CListCtrlEx::GetSelectedItems() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CListCtrlEx::GetSelectedCount() const
{
    return int(GetSelectedItems().size());
}

int CListCtrlEx::GetFirstSelectedItem() const
{
    const QList<int> rows = GetSelectedItems();
    return rows.isEmpty() ? -1 : rows.first();
}

bool CListCtrlEx::SelectItem(int nItem, bool bSelect)
{
    if (!ValidRow(nItem) || columnCount() == 0)
        return false;
    const QModelIndex index = model()->index(nItem, 0);
    if (bSelect) {
        const auto flags = selectionMode() == QAbstractItemView::SingleSelection
            ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select;
        selectionModel()->setCurrentIndex(index, flags | QItemSelectionModel::Rows);
    } else {
        selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    return true;
}

void CListCtrlEx::ClearSelection()
{
    clearSelection();
}

bool CListCtrlEx::EnsureVisible(int nItem)
{
    if (!ValidRow(nItem) || columnCount() == 0)
        return false;
    scrollTo(model()->index(nItem, 0));
    return true;
}

QString CListCtrlEx::SelectedRowsText() const
{
    QStringList lines;
    for (int row : GetSelectedItems()) {
        QStringList cells;
        for (int col = 0; col < columnCount(); ++col)
            cells.append(GetItemText(row, col));
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

void CListCtrlEx::keyPressEvent(QKeyEvent* event)
{
    emit keyPressed(event->key());
    if (event->matches(QKeySequence::Copy)) {
        const QString text = SelectedRowsText();
        if (!text.isEmpty())
            QApplication::clipboard()->setText(text);
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
