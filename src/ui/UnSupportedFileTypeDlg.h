#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

// Lists the files whose type the wizard cannot convert.
class UnSupportedFileTypeDlg : public QDialog
{
    Q_OBJECT

public:
    explicit UnSupportedFileTypeDlg(QWidget* parent = nullptr);
    ~UnSupportedFileTypeDlg() override;

    void setFileNames(const QStringList& names);
    QListWidget* fileNameList() const { return m_fileNameList; }

private:
    QListWidget* m_fileNameList = nullptr;
};
