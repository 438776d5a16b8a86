#pragma once

#include <QSize>
#include <QString>

namespace Ui {
class TransferWizardDlg;
}

// The wizard's footer: Back, Start, Next and Cancel in fixed places (a hidden button leaves its
// place empty, so the others do not move), and the four step labels with the arrow under the
// current step.
class WizardFooter
{
public:
    // Takes the buttons' designer texts and the size of a button's place from the form.
    explicit WizardFooter(Ui::TransferWizardDlg* form);

    // Which buttons show; the spacers follow.
    void setButtons(bool back, bool start, bool next, bool cancel);
    // Gives each spacer in front of Start, Next and Cancel a button's size when its button
    // shows, else none.
    void updateButtonSpacers();
    // Shows the step labels, the current one (0 transfer, 1 method, 2 files, 3 device) lit and
    // marked by its arrow.
    void updateFooterNav(int step);
    void hideFooterNav();

    void resetNextText();
    // The last page: Next says "Finish".
    void showFinish();
    // The transfer has ended: Cancel goes; Next closes the window or goes to the finish page.
    void showTransferEnd(bool toFinishPage);
    // Back returns from an unfinished transfer to the file list, until resetBackButton.
    void offerBackToList();
    void resetBackButton();
    bool offersBackToList() const { return backToList; }

private:
    Ui::TransferWizardDlg* ui;
    QSize buttonSize;
    QString designNextText;
    QString designBackText;
    bool backToList = false;
};
