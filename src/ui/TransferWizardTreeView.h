#pragma once

#include <QTreeView>

// The tree view of both file lists, with optional grid lines that can continue over the empty
// area below the last row.
class TransferWizardTreeView : public QTreeView
{
    Q_OBJECT
    Q_PROPERTY(bool showHorizontalGrid READ showHorizontalGrid WRITE setShowHorizontalGrid)
    Q_PROPERTY(bool showVerticalGrid READ showVerticalGrid WRITE setShowVerticalGrid)
    Q_PROPERTY(bool showEmptyRowHorizontalGrid READ showEmptyRowHorizontalGrid WRITE
                   setShowEmptyRowHorizontalGrid)
    Q_PROPERTY(bool showEmptyRowVerticalGrid READ showEmptyRowVerticalGrid WRITE
                   setShowEmptyRowVerticalGrid)
    Q_PROPERTY(Qt::PenStyle gridStyle READ gridStyle WRITE setGridStyle)

public:
    explicit TransferWizardTreeView(QWidget* parent = nullptr);
    ~TransferWizardTreeView() override;

    bool showHorizontalGrid() const { return m_horizontalGrid; }
    void setShowHorizontalGrid(bool show);
    bool showVerticalGrid() const { return m_verticalGrid; }
    void setShowVerticalGrid(bool show);
    bool showEmptyRowHorizontalGrid() const { return m_emptyRowHorizontalGrid; }
    void setShowEmptyRowHorizontalGrid(bool show);
    bool showEmptyRowVerticalGrid() const { return m_emptyRowVerticalGrid; }
    void setShowEmptyRowVerticalGrid(bool show);
    Qt::PenStyle gridStyle() const { return m_gridStyle; }
    void setGridStyle(Qt::PenStyle style);
    // Shows the wizard's file list: whole rows selected, the name, size and time columns at
    // their widths.
    void showFileList(QAbstractItemModel* files);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_horizontalGrid = false;
    bool m_verticalGrid = false;
    bool m_emptyRowHorizontalGrid = false;
    bool m_emptyRowVerticalGrid = false;
    Qt::PenStyle m_gridStyle = Qt::SolidLine;
};
