// What the core asks of the window that advises the page file's size.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// One line of the window: its label and its figure, each in a control of its own.
struct AdviceLine {
    std::string label;
    std::string value;
};

struct AdviceReport {
    std::vector<AdviceLine> lines;  // always in the same order, one per AdviceControl pair
    std::string copyText;           // the whole advice, as "Copier" puts it on the clipboard
};

class AdviceView {
public:
    virtual ~AdviceView() = default;
    virtual void show(const AdviceReport& report) = 0;
};

}  // namespace corvane
