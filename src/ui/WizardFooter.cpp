#include "WizardFooter.h"

#include <QCoreApplication>

#include "ui_TransferWizardDlg.h"

namespace {

const char* const StepLabelColor = "color: rgb(191, 191, 191);";
const char* const CurrentStepLabelColor = "color: rgb(255, 255, 255);";

// The footer's texts are the wizard dialog's.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(TransferWizardDlg)
};

} // namespace

WizardFooter::WizardFooter(Ui::TransferWizardDlg* form)
    : ui(form), buttonSize(form->startSpacer->sizeHint()), designNextText(form->nextButton->text()),
      designBackText(form->backButton->text())
{
}

void WizardFooter::setButtons(bool back, bool start, bool next, bool cancel)
{
    ui->backButton->setVisible(back);
    ui->startButton->setVisible(start);
    ui->nextButton->setVisible(next);
    ui->cancelButton->setVisible(cancel);
    updateButtonSpacers();
}

void WizardFooter::updateButtonSpacers()
{
    const auto apply = [this](QSpacerItem* spacer, QPushButton* button) {
        const QSize size = button->isHidden() ? QSize(0, 0) : buttonSize;
        spacer->changeSize(size.width(), size.height(), QSizePolicy::Fixed, QSizePolicy::Minimum);
    };
    apply(ui->startSpacer, ui->startButton);
    apply(ui->nextSpacer, ui->nextButton);
    apply(ui->cancelSpacer, ui->cancelButton);
    ui->footerLayout->invalidate();
}

void WizardFooter::updateFooterNav(int step)
{
    // Indexed by step: 0 transfer, 1 method, 2 files, 3 device.
    QLabel* const labels[] = {ui->Transfer, ui->Method, ui->Files, ui->Device};
    QLabel* const arrows[] = {ui->transferArrow, ui->methodArrow, ui->filesArrow, ui->deviceArrow};
    for (int i = 0; i < 4; ++i) {
        labels[i]->show();
        labels[i]->setStyleSheet(QString::fromLatin1(StepLabelColor));
        // Hidden arrows keep their room so the step labels do not jump between pages.
        arrows[i]->setVisible(false);
    }
    if (step < 0 || step > 3)
        return;
    arrows[step]->setVisible(true);
    labels[step]->setStyleSheet(QString::fromLatin1(CurrentStepLabelColor));
}

void WizardFooter::hideFooterNav()
{
    for (QLabel* label : {ui->Device, ui->Method, ui->Files, ui->Transfer, ui->deviceArrow,
                          ui->methodArrow, ui->filesArrow, ui->transferArrow})
        label->hide();
}

void WizardFooter::resetNextText()
{
    ui->nextButton->setText(designNextText);
}

void WizardFooter::showFinish()
{
    //: wizard button on the last page: closes the wizard
    ui->nextButton->setText(Texts::tr("Finish"));
}

void WizardFooter::showTransferEnd(bool toFinishPage)
{
    ui->cancelButton->hide();
    //: wizard button at the end of a transfer: close the wizard / go to the finish page
    ui->nextButton->setText(toFinishPage ? Texts::tr("Close") : Texts::tr("Done"));
    ui->nextButton->show();
    updateButtonSpacers();
}

void WizardFooter::offerBackToList()
{
    backToList = true;
    ui->backButton->setText(Texts::tr("Back to the list"));
    ui->backButton->show();
    updateButtonSpacers();
}

void WizardFooter::resetBackButton()
{
    if (backToList)
        ui->backButton->setText(designBackText);
    backToList = false;
}
