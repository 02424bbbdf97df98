/* Every number a window, a menu or a dialog of Corvane is addressed by, in one place: the
   resource script reads these names, the core's enumerations (controls.h) take their values from
   them, and so do the tests that work the program from outside. Plain #defines, so that the
   resource compiler reads this file too. A main window control's number is its index on the
   window, which automation relies on. */
#ifndef CORVANE_CONTROL_IDS_H
#define CORVANE_CONTROL_IDS_H

/* The main window's controls. */
#define IDC_CADRE 1
#define IDC_DESSUS 2
#define IDC_LBLRAF 3
#define IDC_LABEL1 4
#define IDC_SWAP 5
#define IDC_MEMLIBRE 6
#define IDC_DEBUTWIN 7
#define IDC_PROCESSEUR 8
#define IDC_WINDOWS 9
#define IDC_TIMER1 10
#define IDC_LABEL2 11
#define IDC_DLG 31
#define IDC_SLIDER 32

/* The main window's menu, 12 to 30 in menu order, then the items added since. */
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
#define ID_SHOW_WINDOW 37 /* the notification icon's menu only: "Afficher" */
#define ID_ALERTS 36
#define ID_START_WITH_WINDOWS 38
#define ID_PROMETHEUS 39
#define ID_EVENT_LOG 40
#define ID_PAGE_FILE_ADVICE 41

/* The scratch list window's two lists. */
#define IDC_LIST1 1
#define IDC_LIST2 2

/* The About window. */
#define IDC_APROPOS_COMMAND1 101
#define IDC_APROPOS_PICTURE1 102
#define IDC_APROPOS_LABEL1 103
#define IDC_APROPOS_LABEL2 104
#define IDC_APROPOS_LABEL3 105
#define IDC_APROPOS_LABEL4 106
#define IDC_APROPOS_LABEL5 107
#define IDC_APROPOS_LABEL6 108
#define IDT_APROPOS_TIMER1 110

/* The history window. */
#define IDC_HISTORY_HOUR 201
#define IDC_HISTORY_DAY 202
#define IDC_HISTORY_WEEK 203
#define IDC_HISTORY_MONTH 204
#define IDC_HISTORY_ALL 205
#define IDC_HISTORY_EXPORT 206
#define IDC_HISTORY_GRAPH 207
#define IDC_HISTORY_POINTER_READING 208
#define IDC_HISTORY_NOTICE 209

/* The "Mémoire virtuelle" window. */
#define IDC_VM_COMMIT 301
#define IDC_VM_COMMIT_BAR 302
#define IDC_VM_PEAKS 303
#define IDC_VM_PAGE_FILES 304
#define IDC_VM_SORT_BY_COMMIT 305
#define IDC_VM_SORT_BY_HOUR_GROWTH 306
#define IDC_VM_SORT_BY_START_GROWTH 307
#define IDC_VM_COLUMN_TITLES 308
#define IDC_VM_PROGRAMS 309
#define IDC_VM_REMARK 310
#define IDC_VM_SORT_TITLE 311
#define IDC_VM_SORT_BY_NAME 312
#define IDC_VM_SORT_BY_PID 313

/* The "Alertes" dialog: each alert's switch and threshold. */
#define IDC_ALERT_COMMIT_ON 401
#define IDC_ALERT_COMMIT_THRESHOLD 402
#define IDC_ALERT_SWAP_GROWTH_ON 403
#define IDC_ALERT_SWAP_GROWTH_THRESHOLD 404
#define IDC_ALERT_MEMORY_ON 405
#define IDC_ALERT_MEMORY_THRESHOLD 406
#define IDC_ALERT_EXHAUSTION_ON 407
#define IDC_ALERT_EXHAUSTION_THRESHOLD 408

/* The "Exporter vers Prometheus" dialog. */
#define IDC_PROMETHEUS_ON 411
#define IDC_PROMETHEUS_FOLDER 412
#define IDC_PROMETHEUS_BROWSE 413

/* The page file's advice window: each line's label, its figure one above it, then "Copier". */
#define IDC_ADVICE_FIRST_LABEL 501
#define IDC_ADVICE_COPY 599

#endif
