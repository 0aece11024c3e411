#include "check/check_report.h"

#include <algorithm>

std::string screenName(ScreenSize screen) {
    return std::to_string(screen.width) + "x" + std::to_string(screen.height);
}

int CheckReport::errorCount() const {
    return static_cast<int>(std::count_if(problems.begin(), problems.end(), [](const Problem& p) {
        return p.severity == Severity::Error;
    }));
}

int CheckReport::warningCount() const {
    return static_cast<int>(problems.size()) - errorCount();
}

void CheckReport::add(Problem problem) {
    for (Problem& known : problems) {
        if (known.severity == problem.severity && known.line == problem.line &&
            known.where == problem.where && known.text == problem.text &&
            known.type == problem.type) {
            for (const ScreenSize& screen : problem.screens)
                if (std::find(known.screens.begin(), known.screens.end(), screen) ==
                    known.screens.end())
                    known.screens.push_back(screen);
            return;
        }
    }
    problems.push_back(std::move(problem));
}
