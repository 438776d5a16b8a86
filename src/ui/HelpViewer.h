#pragma once

#include <QDialog>

class QTextBrowser;
class QUrl;

// A small window that shows one of the help pages shipped with the program, for desktops
// without a web browser. Links between the pages are followed inside it.
class HelpViewer : public QDialog
{
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // A page (file URL, with or without a #fragment).
    void setSource(const QUrl& url);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};
