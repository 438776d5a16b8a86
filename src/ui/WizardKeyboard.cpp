#include "WizardKeyboard.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

#include "AccessibleLinkLabel.h"
#include "AccessibleWidgets.h"
#include "FocusRing.h"
#include "TransferWizardDlg.h"
#include "WizardMessages.h"

namespace {

constexpr int WelcomePage = TransferWizardDlg::WelcomePage;
constexpr int DeviceTypePage = TransferWizardDlg::DeviceTypePage;
constexpr int TransferMethodPage = TransferWizardDlg::TransferMethodPage;
constexpr int FileListPage = TransferWizardDlg::FileListPage;
constexpr int TransferProgressPage = TransferWizardDlg::TransferProgressPage;

// Every control of every page, then the footer, in the order Tab visits them; hidden ones are
// skipped.
const char* const TabOrder[] = {"KavoRadioButton",
                                "KavoHDRadioButton",
                                "KavoPlusHDRadioButton",
                                "helpChooseLabel",
                                "burnDiskRadioButton",
                                "CopyToUSBRadioButton",
                                "learnMoreLabelForTransfer",
                                "fileListTableView",
                                "addfilePushButton",
                                "removefilePushButton",
                                "driveComboBox",
                                "USBLink",
                                "fileProgressTableView",
                                "needHelpLabel",
                                "backButton",
                                "startButton",
                                "nextButton",
                                "cancelButton"};

const char* const LinkLabels[] = {"helpChooseLabel", "learnMoreLabelForTransfer", "USBLink",
                                  "needHelpLabel"};

bool usable(const QWidget* w)
{
    return w && w->isVisibleTo(w->window()) && w->isEnabled();
}

} // namespace

WizardKeyboard::WizardKeyboard(QDialog* dialog) : QObject(dialog), m_dialog(dialog)
{
    installAccessibleWidgets();
    m_stack = find<QStackedWidget>("Stack");
    m_fileList = find<QAbstractItemView>("fileListTableView");
    makeLinksReachable();
    setTabOrder();
    m_ring = new FocusRing(dialog);
    dialog->installEventFilter(this);
    if (m_fileList)
        m_fileList->installEventFilter(this);
    if (auto* next = find<QPushButton>("nextButton"))
        next->installEventFilter(this);
    if (m_stack)
        connect(m_stack, &QStackedWidget::currentChanged, this, &WizardKeyboard::pageShown);
}

WizardKeyboard::~WizardKeyboard() = default;

template <class T> T* WizardKeyboard::find(const char* name) const
{
    return m_dialog->findChild<T*>(QLatin1String(name));
}

void WizardKeyboard::makeLinksReachable()
{
    for (const char* name : LinkLabels) {
        if (auto* label = find<QLabel>(name)) {
            // Tab reaches the link and Enter opens it; the text itself stays unselectable.
            label->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                           Qt::LinksAccessibleByKeyboard);
            label->setFocusPolicy(Qt::StrongFocus);
            AccessibleLinkLabel::install(label);
            label->installEventFilter(this);
        }
    }
}

void WizardKeyboard::setTabOrder()
{
    QWidget* previous = nullptr;
    for (const char* name : TabOrder) {
        QWidget* w = find<QWidget>(name);
        if (!w)
            continue;
        if (w->focusPolicy() == Qt::NoFocus)
            w->setFocusPolicy(Qt::StrongFocus);
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QWidget* WizardKeyboard::entryWidget(int page) const
{
    switch (page) {
    case DeviceTypePage:
    case TransferMethodPage: {
        // The checked choice, as in a group of radio buttons.
        QWidget* pageWidget = m_stack ? m_stack->widget(page) : nullptr;
        if (!pageWidget)
            return nullptr;
        const auto choices = pageWidget->findChildren<QRadioButton*>();
        for (QRadioButton* choice : choices) {
            if (choice->isChecked())
                return choice;
        }
        return choices.value(0);
    }
    case FileListPage:
        if (m_fileList && m_fileList->model() && m_fileList->model()->rowCount() > 0)
            return m_fileList;
        return find<QWidget>("addfilePushButton");
    case TransferProgressPage: {
        auto* next = find<QPushButton>("nextButton");
        return usable(next) ? static_cast<QWidget*>(next) : find<QWidget>("fileProgressTableView");
    }
    default:
        return find<QWidget>("nextButton");
    }
}

QAbstractButton* WizardKeyboard::defaultButton() const
{
    const int page = m_stack ? m_stack->currentIndex() : -1;
    if (page == FileListPage) {
        auto* start = find<QPushButton>("startButton");
        return usable(start) ? start : nullptr;
    }
    auto* next = find<QPushButton>("nextButton");
    return usable(next) ? next : nullptr;
}

void WizardKeyboard::pageShown(int page)
{
    QWidget* entry = entryWidget(page);
    if (usable(entry))
        entry->setFocus(Qt::OtherFocusReason);
}

bool WizardKeyboard::pressEnter()
{
    QWidget* focus = QApplication::focusWidget();
    auto* focusedButton = qobject_cast<QPushButton*>(focus);
    if (focusedButton && m_dialog->isAncestorOf(focusedButton) && usable(focusedButton)) {
        focusedButton->click();
        return true;
    }
    if (auto* link = qobject_cast<QLabel*>(focus); link && m_dialog->isAncestorOf(link)) {
        // A link the label did not open itself (no link focused inside it yet).
        if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(link);
            iface && iface->actionInterface())
            iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        return true;
    }
    if (focus == m_fileList && m_fileList->currentIndex().isValid()) {
        // A time shown as a link explains itself, as a click on it does.
        const QModelIndex time = m_fileList->currentIndex().siblingAtColumn(2);
        if (time.data(Qt::FontRole).value<QFont>().underline()) {
            emit m_fileList->clicked(time);
            return true;
        }
    }
    if (QAbstractButton* button = defaultButton())
        button->click();
    return true;
}

bool WizardKeyboard::wouldLoseList() const
{
    const int page = m_stack ? m_stack->currentIndex() : -1;
    return page >= WelcomePage && page <= FileListPage && m_fileList && m_fileList->model() &&
           m_fileList->model()->rowCount() > 0;
}

bool WizardKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_dialog) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                mods == Qt::NoModifier)
                return pressEnter();
            if (key->key() == Qt::Key_Escape && mods == Qt::NoModifier && wouldLoseList() &&
                !WizardMessages::confirmCloseWithFiles())
                return true;
        } else if (event->type() == QEvent::Close && m_dialog->isVisible() && wouldLoseList() &&
                   !WizardMessages::confirmCloseWithFiles()) {
            event->ignore();
            return true;
        }
        return false;
    }
    if (watched == m_fileList && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            auto* remove = find<QPushButton>("removefilePushButton");
            if (usable(remove))
                remove->click();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && qobject_cast<QLabel*>(watched)) {
        // A label cycles Tab among its own links and, once one was opened, keeps Shift+Tab
        // there; each of ours holds one link, so Tab always moves on.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        const bool backward = key->key() == Qt::Key_Backtab ||
                              (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
        if ((forward || backward) && !(key->modifiers() & Qt::ControlModifier)) {
            auto* label = static_cast<QWidget*>(watched);
            QWidget* w = label;
            do {
                w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
            } while (w != label && !(w->window() == label->window() && usable(w) &&
                                     (w->focusPolicy() & Qt::TabFocus)));
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
        return false;
    }
    // The transfer has ended when Done (or Close) appears on the transfer page.
    if (event->type() == QEvent::Show && m_stack &&
        m_stack->currentIndex() == TransferProgressPage && usable(static_cast<QWidget*>(watched)))
        static_cast<QWidget*>(watched)->setFocus(Qt::OtherFocusReason);
    return false;
}
