// Resource IDs of the program: the menus', windows' and dialogs' own numbers are in
// platform/control_ids.h, which the core's enumerations share; the resources' are here.
#pragma once

#include "platform/control_ids.h"

#define IDR_MAINMENU 1
#define IDR_ACCELERATORS 1
#define IDI_CORVANE 1
#define IDI_ABOUT 2
#define IDI_ANIMATION1 11
#define IDI_ANIMATION2 12
#define IDI_ANIMATION3 13
#define IDI_ANIMATION4 14
#define IDC_LINK 1

// The "Alertes" dialog.
#define IDD_ALERTS 1

// The "Exporter vers Prometheus" dialog.
#define IDD_PROMETHEUS 2
