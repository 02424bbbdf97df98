// Names of the windows' controls and of the menu commands; their numbers are control_ids.h's.
#pragma once

#include "platform/control_ids.h"

namespace corvane {

// Controls of the main window. The value is the control's index on the window, which is also
// its control ID, so that automation can address it.
enum class Control : int {
    cadre = IDC_CADRE,
    dessus = IDC_DESSUS,
    lblRaf = IDC_LBLRAF,
    Label1 = IDC_LABEL1,
    swap = IDC_SWAP,
    MemLibre = IDC_MEMLIBRE,
    DebutWin = IDC_DEBUTWIN,
    processeur = IDC_PROCESSEUR,
    Windows = IDC_WINDOWS,
    Timer1 = IDC_TIMER1,
    Label2 = IDC_LABEL2,
    Dlg = IDC_DLG,
    Slider = IDC_SLIDER,
};

// Items of the main window's menu bar: those the program began with, in menu order, then the
// items added since.
enum class MenuItem : int {
    fichier = ID_FICHIER,
    impr = ID_IMPR,
    sep1 = ID_SEP1,
    quitter = ID_QUITTER,
    outils = ID_OUTILS,
    journal = ID_JOURNAL,
    InitJournal = ID_INITJOURNAL,
    InitAll = ID_INITALL,
    sep3 = ID_SEP3,
    raffraichissement = ID_RAFFRAICHISSEMENT,
    s1 = ID_S1,
    s5 = ID_S5,
    s10 = ID_S10,
    s30 = ID_S30,
    m1 = ID_M1,
    quoi = ID_QUOI,
    aide = ID_AIDE,
    sep2 = ID_SEP2,
    propos = ID_PROPOS,
    history = ID_HISTORY,
    virtualMemory = ID_VIRTUAL_MEMORY,
    notificationIcon = ID_NOTIFICATION_ICON,
    alerts = ID_ALERTS,
    startWithWindows = ID_START_WITH_WINDOWS,
    prometheus = ID_PROMETHEUS,
    eventLog = ID_EVENT_LOG,
    pageFileAdvice = ID_PAGE_FILE_ADVICE,
};

// The two list boxes of the scratch list window `Db`.
enum class DbList : int {
    List1 = IDC_LIST1,
    List2 = IDC_LIST2,
};

// Controls of the About window `apropos`.
enum class AboutControl : int {
    Command1 = IDC_APROPOS_COMMAND1,
    Picture1 = IDC_APROPOS_PICTURE1,
    Label1 = IDC_APROPOS_LABEL1,
    Label2 = IDC_APROPOS_LABEL2,
    Label3 = IDC_APROPOS_LABEL3,
    Label4 = IDC_APROPOS_LABEL4,
    Label5 = IDC_APROPOS_LABEL5,
    Label6 = IDC_APROPOS_LABEL6,
};

// Controls of the history window: the span buttons "1 h" to "Tout", the export button, the
// drawing, the values under the pointer and what the window says of where the history is kept.
enum class HistoryControl : int {
    hour = IDC_HISTORY_HOUR,
    day = IDC_HISTORY_DAY,
    week = IDC_HISTORY_WEEK,
    month = IDC_HISTORY_MONTH,
    all = IDC_HISTORY_ALL,
    exportButton = IDC_HISTORY_EXPORT,
    graph = IDC_HISTORY_GRAPH,
    pointerReading = IDC_HISTORY_POINTER_READING,
    notice = IDC_HISTORY_NOTICE,
};

// Controls of the "Mémoire virtuelle" window: the commit and its bar, the peaks, the page
// files, the three orders of the programs, their columns' titles and their list, what the
// window says when the list is empty, and the orders' title.
enum class VirtualMemoryControl : int {
    commit = IDC_VM_COMMIT,
    commitBar = IDC_VM_COMMIT_BAR,
    peaks = IDC_VM_PEAKS,
    pageFiles = IDC_VM_PAGE_FILES,
    sortByCommit = IDC_VM_SORT_BY_COMMIT,
    sortByHourGrowth = IDC_VM_SORT_BY_HOUR_GROWTH,
    sortByStartGrowth = IDC_VM_SORT_BY_START_GROWTH,
    columnTitles = IDC_VM_COLUMN_TITLES,
    programs = IDC_VM_PROGRAMS,
    remark = IDC_VM_REMARK,
    sortTitle = IDC_VM_SORT_TITLE,
    sortByName = IDC_VM_SORT_BY_NAME,
    sortByPid = IDC_VM_SORT_BY_PID,
};

// Controls of the "Conseil de taille du fichier d'échange" window: each line's label and its
// figure (the figure's ID is its label's plus one), then the "Copier" button.
enum class AdviceControl : int {
    firstLabel = IDC_ADVICE_FIRST_LABEL,
    copyButton = IDC_ADVICE_COPY,
};

// Controls of the "Exporter vers Prometheus" dialog.
enum class PrometheusControl : int {
    exportOn = IDC_PROMETHEUS_ON,
    folder = IDC_PROMETHEUS_FOLDER,
    browse = IDC_PROMETHEUS_BROWSE,
};

// Controls of the "Alertes" dialog: each alert's switch and threshold.
enum class AlertsControl : int {
    commitOn = IDC_ALERT_COMMIT_ON,
    commitThreshold = IDC_ALERT_COMMIT_THRESHOLD,
    swapGrowthOn = IDC_ALERT_SWAP_GROWTH_ON,
    swapGrowthThreshold = IDC_ALERT_SWAP_GROWTH_THRESHOLD,
    memoryOn = IDC_ALERT_MEMORY_ON,
    memoryThreshold = IDC_ALERT_MEMORY_THRESHOLD,
    exhaustionOn = IDC_ALERT_EXHAUSTION_ON,
    exhaustionThreshold = IDC_ALERT_EXHAUSTION_THRESHOLD,
};

// Timers the core arms. The main window's `Timer1` drives the sampling tick; the About window
// has its own `Timer1` for its animations.
enum class TimerId : int {
    MainTimer1 = IDC_TIMER1,
    AboutTimer1 = IDT_APROPOS_TIMER1,
};

}  // namespace corvane
