// Writing the exposition format.
#include "prometheus/prometheus_text.h"

#include <utility>

namespace corvane {

namespace {

using Labels = std::vector<std::pair<const char*, std::string>>;

struct Sample {
    Labels labels;
    std::string value;
};

// One metric: its HELP and TYPE lines, then its samples. A metric with no sample is left out
// whole, so that no TYPE line announces what the file does not give.
void metric(std::string& out, const char* name, const char* type, const char* help,
            const std::vector<Sample>& samples) {
    if (samples.empty()) return;
    out += std::string("# HELP ") + name + " " + help + "\n";
    out += std::string("# TYPE ") + name + " " + type + "\n";
    for (const Sample& sample : samples) {
        out += name;
        if (!sample.labels.empty()) {
            out += '{';
            const char* comma = "";
            for (const auto& [label, value] : sample.labels) {
                out += std::string(comma) + label + "=\"" + prometheusLabelValue(value) + "\"";
                comma = ",";
            }
            out += '}';
        }
        out += " " + sample.value + "\n";
    }
}

template <class Number>
std::vector<Sample> one(const std::optional<Number>& value) {
    if (!value) return {};
    return {{{}, std::to_string(*value)}};
}

template <class Number>
std::vector<Sample> one(Number value) {
    return {{{}, std::to_string(value)}};
}

std::vector<Sample> ofSwap(const std::optional<PrometheusSwap>& swap,
                           uint64_t PrometheusSwap::*field) {
    if (!swap) return {};
    return {{{{"path", swap->path}}, std::to_string((*swap).*field)}};
}

std::vector<Sample> ofPageFiles(const std::optional<std::vector<PageFileUse>>& files,
                                uint64_t PageFileUse::*field) {
    std::vector<Sample> samples;
    if (!files) return samples;
    for (const PageFileUse& file : *files) {
        samples.push_back({{{"path", file.path}}, std::to_string(file.*field)});
    }
    return samples;
}

}  // namespace

std::string prometheusLabelValue(const std::string& value) {
    std::string quoted;
    quoted.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '\\': quoted += "\\\\"; break;
            case '"': quoted += "\\\""; break;
            case '\n': quoted += "\\n"; break;
            default: quoted += c;
        }
    }
    return quoted;
}

std::string prometheusText(const PrometheusFigures& f) {
    std::string out;
    // The exporters' convention: which build wrote the figures, as a label of a constant 1.
    metric(out, "corvane_build_info", "gauge", "Version de Corvane qui a écrit ce fichier.",
           {{{{"version", std::to_string(CORVANE_VERSION_MAJOR) + "." +
                              std::to_string(CORVANE_VERSION_MINOR) + "." +
                              std::to_string(CORVANE_VERSION_PATCH)}},
             "1"}});
    metric(out, "corvane_swap_file_size_bytes", "gauge",
           "Taille du fichier SWAP au dernier relevé.",
           ofSwap(f.swap, &PrometheusSwap::currentBytes));
    metric(out, "corvane_swap_file_min_bytes", "gauge",
           "Plus petite taille du fichier SWAP depuis le début de l'analyse.",
           ofSwap(f.swap, &PrometheusSwap::minimumBytes));
    metric(out, "corvane_swap_file_max_bytes", "gauge",
           "Plus grande taille du fichier SWAP depuis le début de l'analyse.",
           ofSwap(f.swap, &PrometheusSwap::maximumBytes));
    metric(out, "corvane_swap_file_average_bytes", "gauge",
           "Taille moyenne du fichier SWAP depuis le début de l'analyse.",
           ofSwap(f.swap, &PrometheusSwap::averageBytes));
    metric(out, "corvane_samples_total", "counter", "Relevés de l'analyse en cours.",
           one(f.samples));
    metric(out, "corvane_analysis_elapsed_seconds", "gauge", "Durée de l'analyse en cours.",
           one(f.elapsedSeconds));
    metric(out, "corvane_memory_used_bytes", "gauge", "Mémoire physique occupée.",
           one(f.memoryUsedBytes));
    metric(out, "corvane_memory_total_bytes", "gauge", "Mémoire physique totale.",
           one(f.memoryTotalBytes));
    metric(out, "corvane_commit_bytes", "gauge", "Engagement (mémoire promise aux programmes).",
           one(f.commitBytes));
    metric(out, "corvane_commit_limit_bytes", "gauge", "Limite de l'engagement.",
           one(f.commitLimitBytes));
    metric(out, "corvane_commit_peak_bytes", "gauge",
           "Plus grand engagement depuis le début de l'analyse.", one(f.commitPeakBytes));
    metric(out, "corvane_page_file_size_bytes", "gauge", "Taille de chaque fichier d'échange.",
           ofPageFiles(f.pageFiles, &PageFileUse::sizeBytes));
    metric(out, "corvane_page_file_used_bytes", "gauge",
           "Part utilisée de chaque fichier d'échange.",
           ofPageFiles(f.pageFiles, &PageFileUse::inUseBytes));
    metric(out, "corvane_page_file_peak_bytes", "gauge",
           "Plus grande part utilisée de chaque fichier d'échange depuis le démarrage de Windows.",
           ofPageFiles(f.pageFiles, &PageFileUse::peakBytes));

    metric(out, "corvane_commit_trend_bytes_per_second", "gauge",
           "Tendance de l'engagement sur les 3 dernières heures (négative quand il baisse).",
           one(f.commitTrendBytesPerSecond));
    metric(out, "corvane_commit_exhaustion_seconds", "gauge",
           "Temps avant que l'engagement atteigne sa limite atteignable, tant qu'il monte.",
           one(f.exhaustionSeconds));
    metric(out, "corvane_commit_attainable_limit_bytes", "gauge",
           "Limite que l'engagement peut atteindre quand les fichiers d'échange grandissent.",
           one(f.attainableLimitBytes));
    metric(out, "corvane_advised_page_file_initial_bytes", "gauge",
           "Taille initiale conseillée du fichier d'échange.", one(f.advisedInitialBytes));
    metric(out, "corvane_advised_page_file_maximum_bytes", "gauge",
           "Taille maximale conseillée du fichier d'échange.", one(f.advisedMaximumBytes));
    std::vector<Sample> volumes;
    for (const auto& [volume, bytes] : f.volumeFreeBytes)
        volumes.push_back({{{"volume", volume}}, std::to_string(bytes)});
    metric(out, "corvane_page_file_volume_free_bytes", "gauge",
           "Place libre du volume de chaque fichier d'échange.", volumes);

    std::vector<Sample> states;
    std::vector<Sample> counts;
    for (const PrometheusAlert& alert : f.alerts) {
        states.push_back({{{"alert", alert.name}}, alert.raised ? "1" : "0"});
        counts.push_back({{{"alert", alert.name}}, std::to_string(alert.count)});
    }
    metric(out, "corvane_alert_active", "gauge",
           "1 tant qu'une alerte levée n'est pas retombée sous son seuil.", states);
    metric(out, "corvane_alerts_total", "counter", "Alertes levées depuis le lancement de Corvane.",
           counts);

    std::vector<Sample> programs;
    std::vector<Sample> capped;
    if (f.programs) {
        for (const PrometheusProgram& p : *f.programs) {
            programs.push_back({{{"name", p.name}}, std::to_string(p.commitBytes)});
            if (p.commitCapped) capped.push_back({{{"name", p.name}}, "1"});
        }
    }
    metric(out, "corvane_top_program_commit_bytes", "gauge",
           "Engagement des trois programmes qui en tiennent le plus, les processus d'un même nom "
           "additionnés.",
           programs);
    metric(out, "corvane_top_program_commit_capped", "gauge",
           "1 : l'engagement de ce programme est lu dans un champ de 32 bits ; à partir de 4 Gio "
           "le chiffre exporté n'est pas le vrai.",
           capped);
    return out;
}

}  // namespace corvane
