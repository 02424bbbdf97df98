// The processor label.
#include "probes/processor.h"

namespace corvane {

std::string processorFamily(uint32_t processorType) {
    switch (processorType) {
        case 386: return " 386";
        case 486: return " 486";
        case 586: return " 586";
        case 4000: return " MIPS R4000";
        case 21064: return " DEC Alpha 21064";
        default: return " (inconnu)";
    }
}

void Proce(System& system, MainView& view) {
    SystemInfo info = system.getSystemInfo();
    view.setText(Control::processeur, std::to_string(info.numberOfProcessors) + " " +
                                          view.text(Control::processeur) +
                                          processorFamily(info.processorType));
}

}  // namespace corvane
