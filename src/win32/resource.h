// Resource IDs of the program. Menu items and controls use the indexes the automation relies on
// (src/platform/controls.h); the menu's are checked against MenuItem in menu_ids.h.
#pragma once

#define IDR_MAINMENU 1
#define IDR_ACCELERATORS 1
#define IDI_CORVANE 1
#define IDI_ABOUT 2
#define IDI_ANIMATION1 11
#define IDI_ANIMATION2 12
#define IDI_ANIMATION3 13
#define IDI_ANIMATION4 14
#define IDC_LINK 1

#define ID_FICHIER 12
#define ID_IMPR 13
#define ID_SEP1 14
#define ID_QUITTER 15
#define ID_OUTILS 16
#define ID_JOURNAL 17
#define ID_INITJOURNAL 18
#define ID_INITALL 19
#define ID_SEP3 20
#define ID_RAFFRAICHISSEMENT 21
#define ID_S1 22
#define ID_S5 23
#define ID_S10 24
#define ID_S30 25
#define ID_M1 26
#define ID_QUOI 27
#define ID_AIDE 28
#define ID_SEP2 29
#define ID_PROPOS 30
#define ID_HISTORY 33
#define ID_VIRTUAL_MEMORY 34
#define ID_NOTIFICATION_ICON 35
#define ID_ALERTS 36
#define ID_START_WITH_WINDOWS 38
#define ID_PROMETHEUS 39
#define ID_EVENT_LOG 40
#define ID_PAGE_FILE_ADVICE 41
// The notification area icon's menu: "Afficher", then the main menu's own items.
#define ID_SHOW_WINDOW 37

// The "Alertes" dialog and its controls (AlertsControl in controls.h).
#define IDD_ALERTS 1
#define IDC_ALERT_COMMIT_ON 401
#define IDC_ALERT_COMMIT_THRESHOLD 402
#define IDC_ALERT_SWAP_GROWTH_ON 403
#define IDC_ALERT_SWAP_GROWTH_THRESHOLD 404
#define IDC_ALERT_MEMORY_ON 405
#define IDC_ALERT_MEMORY_THRESHOLD 406
#define IDC_ALERT_EXHAUSTION_ON 407
#define IDC_ALERT_EXHAUSTION_THRESHOLD 408

// The "Exporter vers Prometheus" dialog and its controls (PrometheusControl in controls.h).
#define IDD_PROMETHEUS 2
#define IDC_PROMETHEUS_ON 411
#define IDC_PROMETHEUS_FOLDER 412
#define IDC_PROMETHEUS_BROWSE 413
