#include "ui/about_dlg.h"

#include "res/resource_ids.h"

// Everything the box does (OK and Esc close it) is the framework's default dialog behaviour.
CAboutDlg::CAboutDlg(CDialog& owner) : CDialog(IDD_ABOUTBOX, owner.Backend(), &owner) {}
