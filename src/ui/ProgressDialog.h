#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QDialogButtonBox;

namespace kvqs {

// A small modal progress window with a text, a bar (busy while the maximum is 0) and Cancel.
// With autoClose it hides itself once the value leaves [minimum, maximum); when cancellable,
// closing it by the title bar counts as Cancel.
class ProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressDialog(QWidget* parent = nullptr, bool autoClose = true,
                            bool cancellable = true);
    ~ProgressDialog() override;

    void setRange(int minimum, int maximum);
    int minimum() const;
    int maximum() const;
    int value() const;
    QString text() const;
    bool autoClose() const { return m_autoClose; }
    bool cancellable() const { return m_cancellable; }
    void reset();

    QProgressBar* progressBar() const { return m_progressBar; }
    QDialogButtonBox* buttonBox() const { return m_buttonBox; }

signals:
    void canceled();

public slots:
    void setText(QString text);
    void setMin(int minimum);
    void setMax(int maximum);
    void setPos(int position);
    void onCancel();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void checkAutoClose(int value);

    QLabel* m_label = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QDialogButtonBox* m_buttonBox = nullptr;
    bool m_autoClose = true;
    bool m_cancellable = true;
    bool m_resetting = false;
};

} // namespace kvqs
