#!/bin/sh
# $1: the src folder. Fails, naming the lines, when the controller or the transfer core declares
# a friend, when the dialog befriends anything but its own pages, or when the unattended run
# touches a data member of the dialog (anything of m_dialog not called as a function).
src=$1
status=0
if grep -rn "friend class" "$src/controller" "$src/transfer"; then
    status=1
fi
if grep -n "friend class" "$src/ui/TransferWizardDlg.h" | grep -v -E "friend class (WizardFilePage|WizardTransferPage);"; then
    status=1
fi
if grep -n -E "m_dialog\.[A-Za-z_]+([^A-Za-z_(]|$)" "$src/controller/UnattendedTransfer.cpp"; then
    status=1
fi
exit $status
