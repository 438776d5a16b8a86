#include "FinishPageDrive.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "UDisks2Ejector.h"

FinishPageDrive::FinishPageDrive(QWidget* parent, QBoxLayout* layout, UDisks2Ejector* ejector)
    : QObject(parent), m_ejector(ejector ? ejector : new UDisks2Ejector(this)),
      m_names(new QLabel(parent)), m_eject(new QPushButton(tr("Eject"), parent)),
      m_result(new QLabel(parent))
{
    m_names->setObjectName(QStringLiteral("savedNamesLabel"));
    m_names->setTextFormat(Qt::PlainText);
    // Its width comes from the page, not from the names: they are shortened to fit it.
    m_names->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_names->installEventFilter(this);
    m_eject->setObjectName(QStringLiteral("ejectButton"));
    m_eject->setToolTip(tr("Safely remove the USB drive"));
    m_eject->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_result->setObjectName(QStringLiteral("ejectResultLabel"));
    m_result->setWordWrap(true);
    // The window has a fixed size: the button and its result share one row.
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(m_eject, 0, Qt::AlignTop);
    row->addWidget(m_result, 1);
    row->addStretch();
    const int at = layout->count() > 0 ? layout->count() - 1 : 0;
    layout->insertWidget(at, m_names);
    layout->insertLayout(at + 1, row);
    m_names->hide();
    m_eject->hide();
    m_result->hide();
    connect(m_ejector, &UDisks2Ejector::ejectable, this, &FinishPageDrive::onEjectable);
    connect(m_ejector, &UDisks2Ejector::ejected, this, &FinishPageDrive::onEjected);
    connect(m_eject, &QPushButton::clicked, this, [this]() {
        m_eject->setEnabled(false);
        m_result->setText(tr("Ejecting the USB drive..."));
        m_result->show();
        m_ejector->eject(m_root);
    });
}

void FinishPageDrive::clear()
{
    m_saved.clear();
    m_root.clear();
    m_names->hide();
    m_eject->hide();
    m_result->hide();
}

void FinishPageDrive::addSaved(const QString& source, const QString& destination)
{
    m_saved.append({source, destination});
}

QString FinishPageDrive::savedText() const
{
    if (m_saved.isEmpty())
        return {};
    QStringList lines{tr("On the drive:")};
    for (int i = 0; i < m_saved.size() && i < ListedNames; ++i) {
        const QFileInfo source(m_saved[i].first);
        const QFileInfo arrived(m_saved[i].second);
        // A converted video changes only its extension; that is no renaming.
        lines << (arrived.completeBaseName() == source.completeBaseName()
                      ? arrived.fileName()
                      : tr("%1 (renamed from \"%2\")").arg(arrived.fileName(), source.fileName()));
    }
    if (m_saved.size() > ListedNames)
        lines << tr("and %n more", nullptr, int(m_saved.size()) - ListedNames);
    return lines.join(QLatin1Char('\n'));
}

void FinishPageDrive::show(bool usbDrive, const QString& root)
{
    m_root = root;
    m_names->setToolTip(savedText());
    elide();
    m_names->setVisible(!m_saved.isEmpty());
    m_eject->hide();
    m_eject->setEnabled(true);
    m_result->hide();
    if (usbDrive && !root.isEmpty())
        m_ejector->query(root);
}

bool FinishPageDrive::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_names && event->type() == QEvent::Resize)
        elide();
    return QObject::eventFilter(watched, event);
}

void FinishPageDrive::elide()
{
    // One line per video, shortened in the middle to the label's width; the whole list is the
    // tooltip.
    QStringList lines = m_names->toolTip().split(QLatin1Char('\n'));
    const int width = qMax(80, m_names->width());
    for (QString& line : lines)
        line = m_names->fontMetrics().elidedText(line, Qt::ElideMiddle, width);
    const QString text = lines.join(QLatin1Char('\n'));
    if (m_names->text() != text)
        m_names->setText(text);
}

void FinishPageDrive::onEjectable(bool ejectable)
{
    m_eject->setVisible(ejectable && !m_root.isEmpty());
}

void FinishPageDrive::onEjected(int result, const QStringList& holders, const QString& message)
{
    QString text;
    switch (result) {
    case UDisks2Ejector::Ejected:
        text = tr("The USB drive can be removed now.");
        break;
    case UDisks2Ejector::Unmounted:
        text = tr("The USB drive is no longer in use and can be removed now.");
        break;
    case UDisks2Ejector::Busy:
        text = holders.isEmpty()
                   ? tr("The USB drive is busy: another program is using it. Close it and try "
                        "again.")
                   : tr("The USB drive is busy: %1 is using it. Close it and try again.")
                         .arg(holders.join(QStringLiteral(", ")));
        break;
    case UDisks2Ejector::NotPermitted:
        text = tr("You are not permitted to eject this USB drive.");
        break;
    default:
        text = tr("The USB drive could not be ejected: %1").arg(message);
        break;
    }
    m_result->setText(text);
    m_result->show();
    // A drive that is still there can be tried again.
    const bool gone = result == UDisks2Ejector::Ejected || result == UDisks2Ejector::Unmounted;
    m_eject->setEnabled(!gone);
    m_eject->setVisible(!gone);
}
