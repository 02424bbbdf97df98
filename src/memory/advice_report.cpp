// Wording the page file's advice.
#include "memory/advice_report.h"

#include <cstdio>

namespace corvane {

namespace {

constexpr uint64_t kMo = 1048576;

std::string mo(int64_t value) {
    return std::to_string(value) + " Mo";
}

std::string moOf(std::optional<int64_t> value) {
    return value ? mo(*value) : kUnknownFigure;
}

std::string bytesMo(std::optional<uint64_t> bytes) {
    if (!bytes) return kUnknownFigure;
    return mo(static_cast<int64_t>(*bytes / kMo));
}

std::string dumpText(const AdviceInputs& in, const Advice& a) {
    if (in.windows9x) return "sans objet sur cette version de Windows";
    if (in.dump.dedicatedFile) return "fichier de vidage dédié : 0 Mo";
    const char* kind = "";
    switch (in.dump.kind) {
        case DumpKind::None: kind = "aucun"; break;
        case DumpKind::Small: kind = "mémoire partielle"; break;
        case DumpKind::Complete: kind = "mémoire complète"; break;
        case DumpKind::Kernel: kind = "mémoire du noyau"; break;
        case DumpKind::Automatic: kind = "automatique"; break;
        case DumpKind::Unknown: return kUnknownFigure;
    }
    std::string text = std::string(kind) + " : " + moOf(a.dumpMo);
    if (a.dumpEstimated && a.dumpMo) text += " (estimation)";
    if (in.dump.kind == DumpKind::Automatic && a.dumpMo && !a.dumpEstimated)
        text += " (plantage de moins de 4 semaines)";
    return text;
}

std::string filesText(const AdviceInputs& in) {
    if (in.windows9x) {
        if (in.iniMinimumMo == 0 && in.iniMaximumMo == 0) return "taille gérée par Windows";
        return "system.ini : de " + mo(in.iniMinimumMo) + " à " +
               (in.iniMaximumMo > 0 ? mo(in.iniMaximumMo) : std::string("sans limite"));
    }
    if (!in.paging.known) return kUnknownFigure;
    if (in.paging.files.empty()) return "aucun";
    std::string text;
    for (const PageFileSetting& f : in.paging.files) {
        if (!text.empty()) text += " ; ";
        text += f.path + (f.kind == PageFileKind::Fixed
                              ? " de " + mo(f.initialMo) + " à " + mo(f.maximumMo)
                              : std::string(" géré par le système"));
        if (f.currentBytes) text += " (" + mo(static_cast<int64_t>(*f.currentBytes / kMo)) + ")";
    }
    return text;
}

std::string volumesText(const AdviceInputs& in) {
    if (in.windows9x || !in.paging.known || in.paging.files.empty()) return "sans objet";
    std::string text;
    for (const PageFileSetting& f : in.paging.files) {
        if (!text.empty()) text += " ; ";
        text += f.path.substr(0, 2) + " ";
        text += f.volume ? mo(static_cast<int64_t>(f.volume->freeBytes / kMo)) + " libres sur " +
                               mo(static_cast<int64_t>(f.volume->totalBytes / kMo))
                         : std::string(kUnknownFigure);
    }
    return text;
}

std::string daysFigure(const AdviceInputs& in, const Advice& a) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", in.daysOfFigures);
    std::string days = text;
    for (char& ch : days)
        if (ch == '.') ch = ',';
    return days + " jours" + (a.provisional ? " (conseil provisoire)" : "");
}

std::string trendFigure(const CommitForecast& forecast) {
    if (!forecast.trend) return "inconnue (moins de 30 minutes relevées sur 3 h)";
    if (!forecast.trend->rising()) return "stable (" + trendText(*forecast.trend) + ")";
    return "en hausse (" + trendText(*forecast.trend) + ")";
}

std::string lacking(const Advice& a) {
    std::string text;
    if (!a.missing.empty()) {
        text = "Il manque : ";
        for (size_t i = 0; i < a.missing.size(); ++i) text += (i ? ", " : "") + a.missing[i];
        text += ".";
    }
    if (a.provisional) text += (text.empty() ? "" : " ") + a.provisionalText;
    return text.empty() ? "rien" : text;
}

}  // namespace

std::string timeLeftFigure(const CommitForecast& forecast, std::optional<int64_t> seconds) {
    if (!forecast.trend) return kUnknownFigure;
    if (!forecast.trend->rising()) return "stable";
    return seconds ? timeLeftText(*seconds) : kUnknownFigure;
}

AdviceReport adviceReport(const AdviceInputs& in, const Advice& a, const CommitForecast& forecast) {
    AdviceReport report;
    auto add = [&](const char* label, std::string value) {
        report.copyText += std::string(label) + " : " + value + "\r\n";
        report.lines.push_back({label, std::move(value)});
    };
    add("Mémoire physique", moOf(in.ramMo));
    add(in.windows9x ? "Plus grande taille du fichier d'échange (30 jours)"
                     : "Pic de l'engagement (30 jours)",
        moOf(in.peakMo));
    add("Relevés", daysFigure(in, a));
    add("Vidage mémoire", dumpText(in, a));
    add("Fichiers d'échange", filesText(in));
    add("Volumes", volumesText(in));
    add("Limite d'engagement actuelle", in.windows9x ? "sans objet" : bytesMo(in.commitLimitBytes));
    add("Limite d'engagement atteignable",
        in.windows9x ? "sans objet" : bytesMo(a.attainableBytes));
    add("Taille initiale conseillée", moOf(a.initialMo));
    add("Taille maximale conseillée", moOf(a.maximumMo));
    add("Verdict", a.verdictText);
    add("Tendance de l'engagement", in.windows9x ? "sans objet" : trendFigure(forecast));
    add("Limite actuelle atteinte",
        in.windows9x ? "sans objet" : timeLeftFigure(forecast, forecast.toLimitSeconds));
    add("Limite atteignable atteinte",
        in.windows9x ? "sans objet" : timeLeftFigure(forecast, forecast.toAttainableSeconds));
    add("Remarques", lacking(a));
    report.copyText +=
        "Corvane ne fait que conseiller : changer le fichier d'échange demande un administrateur "
        "et un redémarrage.\r\n";
    return report;
}

}  // namespace corvane
