#!/bin/sh
# $1: the src folder. Fails, naming the lines, when the controller, the transfer core, the
# dialog or its pages declare a friend, or when the unattended run touches a data member of the
# dialog (anything of m_dialog not called as a function).
src=$1
status=0
if grep -rn "friend class" "$src/controller" "$src/transfer"; then
    status=1
fi
if grep -n "friend" "$src/ui/TransferWizardDlg.h" "$src/ui/WizardFilePage.h" "$src/ui/WizardTransferPage.h"; then
    status=1
fi
if grep -n -E "m_dialog\.[A-Za-z_]+([^A-Za-z_(]|$)" "$src/controller/UnattendedTransfer.cpp"; then
    status=1
fi
exit $status
