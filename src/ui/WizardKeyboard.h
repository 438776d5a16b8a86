#pragma once

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QDialog;
class QStackedWidget;
class QAbstractItemView;
class FocusRing;

// Keyboard operation of the wizard window, on the widgets of its form (found by their object
// names): one Tab order over every page and the footer, the first control of a page focused
// when the page opens, Enter pressing the page's default button (Next, Start, Done, Finish) or
// the focused button, Escape and the window's close asking before a list of videos is lost
// (the transfer page asks on its own), Delete removing the selected videos, and the focus on
// Done when a transfer ends. Draws the focus with a FocusRing.
class WizardKeyboard : public QObject
{
    Q_OBJECT

public:
    explicit WizardKeyboard(QDialog* dialog);
    ~WizardKeyboard() override;

    // The widget that gets the focus when the page opens.
    QWidget* entryWidget(int page) const;
    // The button Enter presses on the current page, or null.
    QAbstractButton* defaultButton() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class T> T* find(const char* name) const;
    void setTabOrder();
    void makeLinksReachable();
    void pageShown(int page);
    bool pressEnter();
    // Closing now would drop videos the user has listed but not transferred.
    bool wouldLoseList() const;

    QDialog* m_dialog;
    QStackedWidget* m_stack = nullptr;
    QAbstractItemView* m_fileList = nullptr;
    QPointer<FocusRing> m_ring;
};
