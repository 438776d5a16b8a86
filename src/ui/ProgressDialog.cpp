#include "ProgressDialog.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "DialogStyleSheet.h"

namespace kvqs {

ProgressDialog::ProgressDialog(QWidget* parent, bool autoClose, bool cancellable)
    : QDialog(parent), m_autoClose(autoClose), m_cancellable(cancellable)
{
    setUpSecondaryDialog(this, QStringLiteral("ProgressDialog"));
    setModal(true);
    setMinimumWidth(360);

    auto* grid = new QGridLayout(this);
    grid->setSpacing(9);
    m_label = new QLabel(QStringLiteral("[TEXT]"), this);
    m_label->setObjectName(QStringLiteral("label"));
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 0);
    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    connect(m_buttonBox->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &ProgressDialog::onCancel);
    grid->addWidget(m_label, 0, 0);
    grid->addWidget(m_progressBar, 1, 0);
    grid->addWidget(m_buttonBox, 2, 0);
    // Fixed to its contents, but never narrower than 360 px so the bar stays readable.
    const QMargins margins = grid->contentsMargins();
    grid->setColumnMinimumWidth(0, 360 - margins.left() - margins.right());
    grid->setSizeConstraint(QLayout::SetFixedSize);
    reset();
}

ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::setText(QString text)
{
    m_label->setText(text);
}

void ProgressDialog::setMin(int minimum)
{
    m_progressBar->setMinimum(minimum);
    m_progressBar->repaint();
    checkAutoClose(m_progressBar->value());
}

void ProgressDialog::setMax(int maximum)
{
    m_progressBar->setMaximum(maximum);
    m_progressBar->repaint();
    checkAutoClose(m_progressBar->value());
}

void ProgressDialog::setPos(int position)
{
    m_progressBar->setValue(position);
    m_progressBar->repaint();
    // The bar refuses values beyond its range; the request itself decides.
    checkAutoClose(position);
}

void ProgressDialog::setRange(int minimum, int maximum)
{
    m_progressBar->setRange(minimum, maximum);
    m_progressBar->repaint();
    checkAutoClose(m_progressBar->value());
}

int ProgressDialog::minimum() const
{
    return m_progressBar->minimum();
}

int ProgressDialog::maximum() const
{
    return m_progressBar->maximum();
}

int ProgressDialog::value() const
{
    return m_progressBar->value();
}

QString ProgressDialog::text() const
{
    return m_label->text();
}

void ProgressDialog::checkAutoClose(int value)
{
    if (!m_autoClose || !isVisible())
        return;
    if (value < m_progressBar->minimum() || value >= m_progressBar->maximum())
        hide();
}

void ProgressDialog::reset()
{
    if (m_resetting)
        return;
    m_resetting = true;
    m_label->clear();
    m_progressBar->setRange(0, 0);
    m_progressBar->setValue(0);
    if (m_autoClose)
        hide();
    m_resetting = false;
}

void ProgressDialog::onCancel()
{
    reset();
    emit canceled();
}

void ProgressDialog::closeEvent(QCloseEvent* event)
{
    if (!m_cancellable) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    onCancel();
}

void ProgressDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    reset();
}

} // namespace kvqs
