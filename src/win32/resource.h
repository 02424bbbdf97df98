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
#define ID_HISTORIQUE 33
#define ID_MEMOIREVIRTUELLE 34
#define ID_ICONE 35
#define ID_ALERTES 36
#define ID_DEMARRAGE 38
#define ID_PROMETHEUS 39
#define ID_EVENEMENTS 40
#define ID_CONSEIL 41
// The notification area icon's menu: "Afficher", then the main menu's own items.
#define ID_AFFICHER 37

// The "Alertes" dialog and its controls (AlertsControl in controls.h).
#define IDD_ALERTES 1
#define IDC_ENGAGEMENT_ACTIVE 401
#define IDC_ENGAGEMENT_SEUIL 402
#define IDC_SWAP_ACTIVE 403
#define IDC_SWAP_SEUIL 404
#define IDC_MEMOIRE_ACTIVE 405
#define IDC_MEMOIRE_SEUIL 406
#define IDC_EPUISEMENT_ACTIVE 407
#define IDC_EPUISEMENT_SEUIL 408

// The "Exporter vers Prometheus" dialog and its controls (PrometheusControl in controls.h).
#define IDD_PROMETHEUS 2
#define IDC_PROMETHEUS_ACTIVE 411
#define IDC_PROMETHEUS_DOSSIER 412
#define IDC_PROMETHEUS_PARCOURIR 413
