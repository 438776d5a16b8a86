#include "TransferWizardTreeView.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

TransferWizardTreeView::TransferWizardTreeView(QWidget* parent) : QTreeView(parent) {}

TransferWizardTreeView::~TransferWizardTreeView() = default;

void TransferWizardTreeView::setShowHorizontalGrid(bool show)
{
    m_horizontalGrid = show;
    viewport()->update();
}

void TransferWizardTreeView::setShowVerticalGrid(bool show)
{
    m_verticalGrid = show;
    viewport()->update();
}

void TransferWizardTreeView::setShowEmptyRowHorizontalGrid(bool show)
{
    m_emptyRowHorizontalGrid = show;
    viewport()->update();
}

void TransferWizardTreeView::setShowEmptyRowVerticalGrid(bool show)
{
    m_emptyRowVerticalGrid = show;
    viewport()->update();
}

void TransferWizardTreeView::setGridStyle(Qt::PenStyle style)
{
    m_gridStyle = style;
    viewport()->update();
}

void TransferWizardTreeView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (!uniformRowHeights() || (!m_horizontalGrid && !m_verticalGrid))
        return;

    // Row height: from the first row, or, in an empty list, from what a row would measure so
    // the grid can still run down the empty area.
    int h = 0;
    int lastBottom = 0;
    if (model() && model()->rowCount(rootIndex()) > 0) {
        h = rowHeight(model()->index(0, 0, rootIndex()));
        const int rows = model()->rowCount(rootIndex());
        const QRect last = visualRect(model()->index(rows - 1, 0, rootIndex()));
        lastBottom = last.isValid() ? last.bottom() + 1 : rows * h;
    } else {
        h = qMax(fontMetrics().height(), iconSize().height()) + 4;
    }
    if (h <= 0)
        return;
    const int viewBottom = viewport()->height();
    const int horizontalExtent = m_emptyRowHorizontalGrid ? viewBottom : lastBottom;
    const int verticalExtent = m_emptyRowVerticalGrid ? viewBottom : lastBottom;

    QStyleOptionViewItem option;
    option.initFrom(this);
    const int gridHint = style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this);
    const QColor gridColor = QColor::fromRgba(static_cast<QRgb>(gridHint));

    QPainter painter(viewport());
    QPen pen(gridColor, 0, m_gridStyle);
    painter.setPen(pen);
    if (m_horizontalGrid) {
        for (int y = 0; y <= horizontalExtent; y += h)
            painter.drawLine(0, y, viewport()->width(), y);
    }
    if (m_verticalGrid && verticalExtent > 0) {
        const QHeaderView* head = header();
        for (int section = 1; section < head->count(); ++section) {
            const int logical = head->logicalIndex(section);
            if (head->isSectionHidden(logical))
                continue;
            const int x = head->sectionViewportPosition(logical) + 1;
            painter.drawLine(x, 0, x, verticalExtent);
        }
    }
}

void TransferWizardTreeView::showFileList(QAbstractItemModel* files)
{
    setModel(files);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setColumnWidth(0, 143);
    setColumnWidth(1, 73);
    setColumnWidth(2, 83);
}
