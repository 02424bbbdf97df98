// Names of the windows' controls and of the menu commands, with their fixed indexes.
#pragma once

namespace corvane {

// Controls of the main window. The value is the control's index on the window, which is also
// its control ID, so that automation can address it.
enum class Control : int {
    cadre = 1,
    dessus = 2,
    lblRaf = 3,
    Label1 = 4,
    swap = 5,
    MemLibre = 6,
    DebutWin = 7,
    processeur = 8,
    Windows = 9,
    Timer1 = 10,
    Label2 = 11,
    Dlg = 31,
    Slider = 32,
};

// Items of the main window's menu bar, numbered 12 to 30 in menu order; 33 is the history item,
// 34 the virtual memory's, 35 the notification area's icon and 36 the alerts'.
enum class MenuItem : int {
    fichier = 12,
    impr = 13,
    sep1 = 14,
    quitter = 15,
    outils = 16,
    journal = 17,
    InitJournal = 18,
    InitAll = 19,
    sep3 = 20,
    raffraichissement = 21,
    s1 = 22,
    s5 = 23,
    s10 = 24,
    s30 = 25,
    m1 = 26,
    quoi = 27,
    aide = 28,
    sep2 = 29,
    propos = 30,
    historique = 33,
    memoireVirtuelle = 34,
    icone = 35,
    alertes = 36,
    demarrage = 38,
    prometheus = 39,
    journalEvenements = 40,
    conseilTaille = 41,
};

// The two list boxes of the scratch list window `Db`.
enum class DbList : int {
    List1 = 1,
    List2 = 2,
};

// Controls of the About window `apropos`.
enum class AboutControl : int {
    Command1 = 101,
    Picture1 = 102,
    Label1 = 103,
    Label2 = 104,
    Label3 = 105,
    Label4 = 106,
    Label5 = 107,
    Label6 = 108,
};

// Controls of the history window: the span buttons "1 h" to "Tout", the export button, the
// drawing, the values under the pointer and what the window says of where the history is kept.
enum class HistoryControl : int {
    Heure = 201,
    Jour = 202,
    Semaine = 203,
    Mois = 204,
    Tout = 205,
    Exporter = 206,
    Graphique = 207,
    Survol = 208,
    Avis = 209,
};

// Controls of the "Mémoire virtuelle" window: the commit and its bar, the peaks, the page
// files, the three orders of the programs, their columns' titles and their list, what the
// window says when the list is empty, and the orders' title.
enum class VirtualMemoryControl : int {
    Engagement = 301,
    Barre = 302,
    Pics = 303,
    Fichiers = 304,
    TriEngagement = 305,
    TriHeure = 306,
    TriDebut = 307,
    Colonnes = 308,
    Programmes = 309,
    Remarque = 310,
    Trier = 311,
    TriNom = 312,
    TriPid = 313,
};

// Controls of the "Conseil de taille du fichier d'échange" window: each line's label and its
// figure (the figure's ID is its label's plus one), then the "Copier" button.
enum class AdviceControl : int {
    PremierLibelle = 501,
    Copier = 599,
};

// Controls of the "Alertes" dialog: each alert's switch and threshold.
// Controls of the "Exporter vers Prometheus" dialog.
enum class PrometheusControl : int {
    Active = 411,
    Dossier = 412,
    Parcourir = 413,
};

enum class AlertsControl : int {
    EngagementActive = 401,
    EngagementSeuil = 402,
    SwapActive = 403,
    SwapSeuil = 404,
    MemoireActive = 405,
    MemoireSeuil = 406,
    EpuisementActive = 407,
    EpuisementSeuil = 408,
};

// Timers the core arms. The main window's `Timer1` drives the sampling tick; the About window
// has its own `Timer1` for its animations.
enum class TimerId : int {
    MainTimer1 = 10,
    AboutTimer1 = 110,
};

}  // namespace corvane
