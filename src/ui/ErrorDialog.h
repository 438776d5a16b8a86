#pragma once

#include <QDialog>

class QLabel;
class QTreeWidget;
class QDialogButtonBox;

// Lists the files that cannot be used, each with its error code linked to the help page of
// that error and a short reason in plain words beside it.
class ErrorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ErrorDialog(QWidget* parent = nullptr);
    ~ErrorDialog() override;

    // code 0: accepted file; any other code: an error, shown as a link to its help page.
    void addRow(const QString& path, int code);
    bool hasRows() const;
    int rowCount() const { return m_rowCount; }
    int linkCount() const { return m_linkCount; }
    // Runs the dialog modally; 0 without showing it when there are no rows. A "%1" in text
    // becomes the number of rows without an error link. twoButtons adds "Open" (accepts) next
    // to "OK" (rejects).
    int run(const QString& title, const QString& text, bool twoButtons);

    // The short reason shown beside an error code, translated.
    static QString reasonText(int code);

    QTreeWidget* treeWidget() const { return m_tree; }
    QDialogButtonBox* buttonBox() const { return m_buttonBox; }
    QLabel* label() const { return m_label; }

private:
    // Lays out the buttons and texts; run() calls it before exec().
    void prepare(const QString& title, const QString& text, bool twoButtons);

    QLabel* m_label = nullptr;
    QLabel* m_errorClickLabel = nullptr;
    QTreeWidget* m_tree = nullptr;
    QDialogButtonBox* m_buttonBox = nullptr;
    int m_rowCount = 0;
    int m_linkCount = 0;

    friend class ErrorDialogTestAccess;
};
