#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

class QBoxLayout;
class QLabel;
class QPushButton;
class QWidget;
class UDisks2Ejector;

// The finish page's part about the drive: the names the videos were given on it (a drive may
// not accept a name as it was), and an "Eject" button that unmounts and powers off a USB drive
// through UDisks2, shown only when UDisks2 knows the destination as a removable drive, with the
// result in words.
class FinishPageDrive : public QObject
{
    Q_OBJECT

public:
    // The widgets go into layout (of parent) before its last item, the page's spacer.
    FinishPageDrive(QWidget* parent, QBoxLayout* layout, UDisks2Ejector* ejector = nullptr);

    // A new write step begins.
    void clear();
    // A video arrived: source is the file the user chose, destination its path on the drive.
    void addSaved(const QString& source, const QString& destination);
    // The finish page shows: lists the names; for a USB drive asks whether it can be ejected.
    void show(bool usbDrive, const QString& root);

    QString savedText() const;
    QPushButton* ejectButton() const { return m_eject; }
    QLabel* resultLabel() const { return m_result; }

    // Names beyond this are summed up in one line.
    static constexpr int ListedNames = 3;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void elide();
    void onEjectable(bool ejectable);
    void onEjected(int result, const QStringList& holders, const QString& message);

    UDisks2Ejector* m_ejector;
    QLabel* m_names;
    QPushButton* m_eject;
    QLabel* m_result;
    QList<QPair<QString, QString>> m_saved;
    QString m_root;
};
