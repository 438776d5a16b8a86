#pragma once

#include <QObject>
#include <QString>

class QUrl;

// Opens the help links of every label of the program (they go through QDesktopServices). The
// desktop's opener (xdg-open) gets each link first; when it cannot start or reports that no
// program took the link, a shipped page is shown in the program's own viewer, and any other
// address in a message box, so a help link never does nothing.
class HelpLinkOpener : public QObject
{
    Q_OBJECT

public:
    explicit HelpLinkOpener(QObject* parent = nullptr);
    // Stops handling links.
    ~HelpLinkOpener() override;

    // Handles the file, http and https links of the whole program from now on.
    void install();
    // The desktop's opener, by default "xdg-open" from PATH.
    void setOpener(const QString& program) { m_opener = program; }

public slots:
    void openUrl(const QUrl& url);

private:
    // No program opened the link: show it ourselves.
    void showHere(const QUrl& url);

    QString m_opener;
    bool m_installed = false;
};
