#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "FakeWizardService.h"
#include "FileInfoModel.h"
#include "FocusRing.h"
#include "KeyPresses.h"
#include "PrivateEnvironment.h"
#include "SuperComboBox.h"
#include "SuperComboBoxItem.h"
#include "TransferWizardDlg.h"

namespace {

// Closes every message box that shows with the given answer and counts them.
class BoxCloser : public QObject
{
public:
    explicit BoxCloser(QMessageBox::StandardButton answer) : m_answer(answer)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || modal == KeyPresses::mainWindow())
                return;
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) {
                // One of the wizard's own dialogs.
                if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                    dialogs << QString::fromLatin1(dialog->metaObject()->className());
                    dialog->reject();
                }
                return;
            }
            ++boxes;
            texts << box->text();
            if (QAbstractButton* button = box->button(m_answer))
                button->click();
            else
                box->close();
        });
        m_timer.start(10);
    }
    int boxes = 0;
    QStringList texts;
    QStringList dialogs;

private:
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

using KeyPresses::returnToMainWindow;

bool key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return KeyPresses::press(k, modifiers);
}

// Widgets a user can reach with Tab on what is shown now.
QList<QWidget*> focusables(QWidget* window)
{
    QList<QWidget*> found;
    const auto widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->isWindow())
            found << w;
    }
    return found;
}

QAccessible::Role expectedRole(QWidget* w)
{
    if (qobject_cast<SuperComboBox*>(w))
        return QAccessible::ComboBox;
    if (qobject_cast<QPushButton*>(w))
        return QAccessible::Button;
    if (qobject_cast<QRadioButton*>(w))
        return QAccessible::RadioButton;
    if (qobject_cast<QTreeView*>(w))
        return QAccessible::Tree;
    if (qobject_cast<QLabel*>(w))
        return QAccessible::Link;
    return QAccessible::NoRole;
}

// Every object the accessibility tree under iface reaches; item views' cells are left out.
void collect(QAccessibleInterface* iface, QSet<QObject*>& objects, int depth = 0)
{
    if (!iface || depth > 30)
        return;
    if (iface->object())
        objects.insert(iface->object());
    if (iface->role() == QAccessible::Tree || iface->role() == QAccessible::Table)
        return;
    for (int i = 0; i < iface->childCount(); ++i)
        collect(iface->child(i), objects, depth + 1);
}

} // namespace

class TestWizardKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyPage_namedReachableAndDrivenByKeys();
    void escape_asksBeforeLosingTheList_data();
    void escape_asksBeforeLosingTheList();
    void fileList_deleteAndEnter_data();
    void fileList_deleteAndEnter();
    void focusRing_outlinesTheKeyboardFocus();
    void window_fitsTheScreen();

private:
    void openWith(int files, const WizardStartParameters& parameters);
    void checkPage(const QString& page);
    QString makeFile(const QString& name);
    template <class T> T* child(const char* name)
    {
        T* widget = m_dlg->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("missing widget %s", name);
        return widget;
    }

    QTemporaryDir m_home;
    FakeWizardService m_service;
    TransferWizardDlg* m_dlg = nullptr;
};

void TestWizardKeyboard::initTestCase()
{
    QVERIFY(m_home.isValid());
    PrivateEnvironment::useHives(m_home.path());
    qputenv("KAVO_HELP_DIR", m_home.filePath("help").toUtf8());
}

void TestWizardKeyboard::init()
{
    m_service = FakeWizardService();
    m_service.usb << FakeWizardService::drive("/media/alpha", "ALPHA", 8ull << 30)
                  << FakeWizardService::drive("/media/beta", "BETA", 8ull << 30);
    m_dlg = new TransferWizardDlg(&m_service, QString());
}

void TestWizardKeyboard::cleanup()
{
    KeyPresses::mainWindow() = nullptr;
    delete m_dlg;
    m_dlg = nullptr;
    QFile::remove(m_home.filePath("user.reg"));
}

QString TestWizardKeyboard::makeFile(const QString& name)
{
    const QString path = m_home.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(10, 'x'));
    return path;
}

void TestWizardKeyboard::openWith(int files, const WizardStartParameters& parameters)
{
    QList<QFileInfo> infos;
    for (int i = 0; i < files; ++i) {
        const QString path = makeFile(QString("clip%1.avi").arg(i));
        // The second file needs converting: its time is a link.
        m_service.results[path] = {0, quint32(i == 1 ? 90 : 0), 1000,
                                   i == 1 ? m_home.filePath("clip1.kavo") : QString()};
        infos << QFileInfo(path);
    }
    m_dlg->setWizardStartParameters(parameters);
    if (!infos.isEmpty())
        m_dlg->appendFileInfos(infos, false);
    m_dlg->show();
    m_dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dlg));
    KeyPresses::mainWindow() = m_dlg;
}

// On the page shown: every widget Tab can reach has a name and the role of what it is, the
// accessibility tree reaches it, and Tab reaches every one of them.
void TestWizardKeyboard::checkPage(const QString& page)
{
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(m_dlg);
    QVERIFY(root);
    QVERIFY(!root->text(QAccessible::Name).isEmpty());
    QSet<QObject*> inTree;
    collect(root, inTree);
    const QList<QWidget*> widgets = focusables(m_dlg);
    QVERIFY2(!widgets.isEmpty(), qPrintable(page));
    for (QWidget* w : widgets) {
        const QString what = page + ": " + w->objectName();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(iface, qPrintable(what));
        QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(what));
        QVERIFY2(iface->role() == expectedRole(w),
                 qPrintable(what + " role " + QString::number(iface->role())));
        QVERIFY2(inTree.contains(w), qPrintable(what + " not in the accessibility tree"));
    }
    // The page's first control has the focus when it opens.
    QWidget* start = QApplication::focusWidget();
    QVERIFY2(start && widgets.contains(start), qPrintable(page + ": no focus"));
    QSet<QWidget*> reached{start};
    for (int i = 0; i < 2 * widgets.size() + 2; ++i) {
        QVERIFY(key(Qt::Key_Tab));
        reached.insert(QApplication::focusWidget());
    }
    for (QWidget* w : widgets)
        QVERIFY2(reached.contains(w), qPrintable(page + ": Tab never reaches " + w->objectName()));
    // Back to where the page started, with Shift+Tab.
    for (int i = 0; i < 2 * widgets.size() + 2 && QApplication::focusWidget() != start; ++i)
        QVERIFY(key(Qt::Key_Backtab, Qt::ShiftModifier));
    QCOMPARE(QApplication::focusWidget(), start);
}

void TestWizardKeyboard::everyPage_namedReachableAndDrivenByKeys()
{
    WizardStartParameters p;
    p.profile = 3;
    p.driveType = 2;
    p.deviceLabel = QStringLiteral("TV");
    openWith(2, p);
    auto* stack = child<QStackedWidget>("Stack");

    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::WelcomePage));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("nextButton"));
    checkPage("welcome");
    QVERIFY(key(Qt::Key_Return));

    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::DeviceTypePage));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("KavoRadioButton"));
    checkPage("device");
    // "Help me choose" is a Tab away, and Enter opens its help.
    for (int i = 0; i < 6 && QApplication::focusWidget() != child<QWidget>("helpChooseLabel"); ++i)
        QVERIFY(key(Qt::Key_Tab));
    {
        BoxCloser closer(QMessageBox::Ok);
        QVERIFY(key(Qt::Key_Return));
        QTRY_COMPARE_WITH_TIMEOUT(closer.dialogs, QStringList{"HelpChooseDeviceDlg"}, 5000);
    }
    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::DeviceTypePage));
    for (int i = 0; i < 6 && QApplication::focusWidget() != child<QWidget>("KavoRadioButton"); ++i)
        QVERIFY(key(Qt::Key_Backtab, Qt::ShiftModifier));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("KavoRadioButton"));
    // The arrows move among the tiles and choose.
    QVERIFY(key(Qt::Key_Right));
    QCOMPARE(m_dlg->currentProfile(), 1);
    QVERIFY(key(Qt::Key_Left));
    QCOMPARE(m_dlg->currentProfile(), 3);
    QVERIFY(key(Qt::Key_Enter, Qt::KeypadModifier));

    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::TransferMethodPage));
    checkPage("method");
    if (!child<QRadioButton>("CopyToUSBRadioButton")->isChecked())
        QVERIFY(key(Qt::Key_Down));
    QCOMPARE(m_dlg->currentMethod(), 1);
    QVERIFY(key(Qt::Key_Return));

    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::FileListPage));
    // The profile changed: the videos were analysed again, with a progress window on top.
    QVERIFY(returnToMainWindow());
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("fileListTableView"));
    checkPage("videos");
    auto* combo = child<SuperComboBox>("driveComboBox");
    QCOMPARE(combo->currentText(), QString("ALPHA"));
    for (int i = 0; i < 10 && QApplication::focusWidget() != combo; ++i)
        QVERIFY(key(Qt::Key_Tab));
    QCOMPARE(QApplication::focusWidget(), combo);
    QVERIFY(key(Qt::Key_Space));
    QTRY_VERIFY_WITH_TIMEOUT(combo->isPopupVisible(), 5000);
    QVERIFY(key(Qt::Key_Down));
    QVERIFY(key(Qt::Key_Return));
    QVERIFY(!combo->isPopupVisible());
    QCOMPARE(combo->currentText(), QString("BETA"));
    QVERIFY(key(Qt::Key_Return));

    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::TransferProgressPage));
    QVERIFY(returnToMainWindow());
    QCOMPARE(m_service.savedDrive, std::u16string(u"/media/beta"));
    QVERIFY(!m_dlg->isTransferEnded());
    checkPage("transfer");
    // Enter while the transfer runs presses nothing.
    QVERIFY(key(Qt::Key_Return));
    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::TransferProgressPage));
    QAccessibleInterface* bar =
        QAccessible::queryAccessibleInterface(child<QWidget>("fileTransferProgressBar"));
    QCOMPARE(bar->role(), QAccessible::ProgressBar);
    QVERIFY(!bar->text(QAccessible::Name).isEmpty());
    m_dlg->fileSaveDone();
    // The value screen readers announce is the bar's.
    QCOMPARE(bar->valueInterface()->currentValue().toInt(), 100);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("nextButton"));
    QVERIFY(key(Qt::Key_Return));

    QCOMPARE(stack->currentIndex(), int(TransferWizardDlg::FinishPage));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("nextButton"));
    checkPage("finish");
    QVERIFY(key(Qt::Key_Return));
    QTRY_VERIFY_WITH_TIMEOUT(!m_dlg->isVisible(), 5000);
    QCOMPARE(m_dlg->result(), int(QDialog::Accepted));
}

void TestWizardKeyboard::escape_asksBeforeLosingTheList_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("titleBar");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<bool>("closed");
    QTest::newRow("welcome, no videos") << 0 << 0 << false << false << 0 << true;
    QTest::newRow("welcome, videos from the command line, No")
        << 0 << 1 << false << false << 1 << false;
    QTest::newRow("videos page, No") << 3 << 2 << false << false << 1 << false;
    QTest::newRow("videos page, Yes") << 3 << 2 << false << true << 1 << true;
    QTest::newRow("videos page, title bar, No") << 3 << 2 << true << false << 1 << false;
    QTest::newRow("videos page, title bar, Yes") << 3 << 2 << true << true << 1 << true;
    QTest::newRow("videos page, empty list") << 3 << 0 << false << false << 0 << true;
    QTest::newRow("after the transfer") << 5 << 2 << false << false << 0 << true;
}

void TestWizardKeyboard::escape_asksBeforeLosingTheList()
{
    QFETCH(int, page);
    QFETCH(int, files);
    QFETCH(bool, titleBar);
    QFETCH(bool, answerYes);
    QFETCH(int, boxes);
    QFETCH(bool, closed);
    WizardStartParameters p;
    p.profile = 3;
    p.driveType = 1;
    openWith(files, p);
    while (m_dlg->currentPage() < qMin(page, 3))
        QVERIFY(key(Qt::Key_Return));
    if (page == 5) {
        QVERIFY(key(Qt::Key_Return));
        m_dlg->fileSaveDone();
        QVERIFY(key(Qt::Key_Return));
    }
    QCOMPARE(m_dlg->currentPage(), page);
    BoxCloser closer(answerYes ? QMessageBox::Yes : QMessageBox::No);
    if (titleBar) {
        // The title bar's close button, pressed as assistive technology presses it.
        QAccessibleInterface* bar =
            QAccessible::queryAccessibleInterface(child<QWidget>("titleBar"));
        QAccessibleInterface* close = nullptr;
        for (int i = 0; i < bar->childCount(); ++i) {
            if (bar->child(i)->text(QAccessible::Name) == "Close")
                close = bar->child(i);
        }
        QVERIFY(close);
        QCOMPARE(close->role(), QAccessible::Button);
        close->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else {
        QVERIFY(key(Qt::Key_Escape));
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_dlg->isVisible(), !closed, 5000);
    QCOMPARE(closer.boxes, boxes);
    QCOMPARE(m_dlg->fileModel()->rowCount(), files);
}

void TestWizardKeyboard::fileList_deleteAndEnter_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("rowsLeft");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<int>("page");
    QTest::newRow("Delete removes the selected videos") << "Home,Shift+Down,Delete" << 1 << 0 << 3;
    QTest::newRow("Delete without a selection") << "Delete" << 3 << 0 << 3;
    QTest::newRow("Enter on a converted video explains its time")
        << "Home,Down,Return" << 3 << 1 << 3;
    QTest::newRow("Enter on a video taken as it is starts") << "Home,Return" << 3 << 0 << 4;
}

void TestWizardKeyboard::fileList_deleteAndEnter()
{
    QFETCH(QString, keys);
    QFETCH(int, rowsLeft);
    QFETCH(int, boxes);
    QFETCH(int, page);
    WizardStartParameters p;
    p.profile = 3;
    p.driveLetter = u"/media/alpha";
    p.driveType = 1;
    openWith(3, p);
    QCOMPARE(m_dlg->currentPage(), 3);
    // The page opened before the videos came: on Add; the list is one Shift+Tab before it.
    QVERIFY(returnToMainWindow());
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("addfilePushButton"));
    QVERIFY(key(Qt::Key_Backtab, Qt::ShiftModifier));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("fileListTableView"));
    child<QAbstractItemView>("fileListTableView")->clearSelection();
    BoxCloser closer(QMessageBox::Ok);
    for (const QString& k : keys.split(',')) {
        const QKeyCombination c = QKeySequence::fromString(k)[0];
        QVERIFY(key(c.key(), c.keyboardModifiers()));
    }
    QCOMPARE(m_dlg->fileModel()->rowCount(), rowsLeft);
    QTRY_COMPARE_WITH_TIMEOUT(closer.boxes, boxes, 5000);
    QCOMPARE(m_dlg->currentPage(), page);
}

void TestWizardKeyboard::focusRing_outlinesTheKeyboardFocus()
{
    WizardStartParameters p;
    p.profile = 3;
    openWith(0, p);
    QVERIFY(key(Qt::Key_Return));
    auto* ring = m_dlg->findChild<FocusRing*>();
    QVERIFY(ring);
    QWidget* tile = child<QWidget>("KavoRadioButton");
    QTRY_COMPARE_WITH_TIMEOUT(ring->target(), tile, 5000);
    QVERIFY(ring->isVisible());
    const int margin = FocusRing::Width + FocusRing::Gap;
    QCOMPARE(ring->geometry(), QRect(tile->mapTo(m_dlg, QPoint(0, 0)), tile->size())
                                   .adjusted(-margin, -margin, margin, margin));
    // The outline is drawn in the accent colour, 2 pixels wide, over the dark page.
    const QImage shot = m_dlg->grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    const QRect r = ring->geometry();
    // The pixel inside each side of the outline, in the grab's device pixels.
    const auto device = [dpr](int logical) { return qRound((logical + 1) * dpr) - 1; };
    for (const QPoint& at : {QPoint(device(r.center().x()), device(r.top())),
                             QPoint(device(r.center().x()), device(r.bottom()) - 1),
                             QPoint(device(r.left()), device(r.center().y())),
                             QPoint(device(r.right()) - 1, device(r.center().y()))})
        QCOMPARE(QColor(shot.pixel(at)).name(), FocusRing::color().name());
    // A mouse click moves the focus without a ring; the next key brings it back.
    QTest::mouseClick(child<QWidget>("KavoHDRadioButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!ring->isVisible(), 5000);
    QVERIFY(key(Qt::Key_Tab));
    QTRY_VERIFY_WITH_TIMEOUT(ring->isVisible(), 5000);
    QCOMPARE(ring->target(), QApplication::focusWidget());
}

void TestWizardKeyboard::window_fitsTheScreen()
{
    // Run on a 1366x768 screen and on a 1280x800 one at scale 2.
    WizardStartParameters p;
    p.profile = 3;
    p.driveLetter = u"/media/alpha";
    p.driveType = 1;
    openWith(3, p);
    const QRect screen = m_dlg->screen()->availableGeometry();
    QVERIFY2(screen.contains(m_dlg->frameGeometry()),
             qPrintable(QString("%1x%2 on %3x%4")
                            .arg(m_dlg->frameGeometry().width())
                            .arg(m_dlg->frameGeometry().height())
                            .arg(screen.width())
                            .arg(screen.height())));
    // Every control of the videos page is inside the window.
    for (QWidget* w : focusables(m_dlg)) {
        const QRect inWindow(w->mapTo(m_dlg, QPoint(0, 0)), w->size());
        QVERIFY2(m_dlg->rect().contains(inWindow), qPrintable(w->objectName()));
    }
}

QTEST_MAIN(TestWizardKeyboard)
#include "tst_WizardKeyboard.moc"
