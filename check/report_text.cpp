#include "check/report_text.h"
#include "scene/scene_motion.h"

#include <algorithm>
#include <cstdio>

const char* moveTypeName(std::int32_t moveType) {
    switch (moveType) {
    case MoveSlideShow:
        return "slide show";
    case MoveDrift:
        return "drift";
    case MoveRandomHop:
        return "random hop";
    case MoveClock:
        return "clock";
    case MoveWaypoints:
        return "waypoints";
    default:
        return "unknown move type";
    }
}

namespace {

std::string counted(int count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string screenList(const std::vector<ScreenSize>& screens) {
    std::string list;
    for (const ScreenSize& screen : screens)
        list += (list.empty() ? "" : ", ") + screenName(screen);
    return list;
}

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

} // namespace

std::string problemLine(const CheckReport& report, const Problem& problem) {
    std::string line = report.cataloguePath;
    if (problem.line > 0)
        line.append(1, '(').append(std::to_string(problem.line)).append(1, ')');
    line += problem.severity == Severity::Error ? ": error: " : ": warning: ";
    if (!problem.where.empty())
        line += problem.where + ": ";
    line += problem.text;
    // Found at some of the checked sizes only: say which.
    if (!problem.screens.empty() && problem.screens.size() < report.screens.size()) {
        std::vector<ScreenSize> screens = problem.screens;
        std::sort(screens.begin(), screens.end(), [&](ScreenSize a, ScreenSize b) {
            auto rank = [&](ScreenSize s) {
                return std::find(report.screens.begin(), report.screens.end(), s) -
                       report.screens.begin();
            };
            return rank(a) < rank(b);
        });
        line += " (at " + screenList(screens) + ")";
    }
    return line;
}

std::string reportText(const CheckReport& report) {
    // In the order of the catalogue's lines, as an editor walks them.
    std::vector<const Problem*> problems;
    for (const Problem& problem : report.problems)
        problems.push_back(&problem);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Problem* a, const Problem* b) { return a->line < b->line; });
    std::string text;
    for (const Problem* problem : problems)
        text += problemLine(report, *problem) + "\n";
    if (!report.problems.empty())
        text += "\n";

    for (const TypeOutcome& type : report.types) {
        char section[16];
        std::snprintf(section, sizeof section, "Type%02d", type.number);
        text += section;
        if (type.listed)
            text += " \"" + type.name + "\" (" + moveTypeName(type.moveType) + ")\n";
        else
            text += " (not listed in the settings)\n";
        for (const ScreenOutcome& outcome : type.screens) {
            std::string entry = outcome.key.empty() ? "no File key" : outcome.key;
            if (outcome.scaledFromReference)
                entry += ", scaled";
            std::string result;
            if (outcome.broken)
                result = "notice: " + counted(outcome.errors, "error");
            else
                result = "runs" + (outcome.warnings ? ", " + counted(outcome.warnings, "warning")
                                                    : std::string());
            text +=
                "  " + padded(screenName(outcome.screen), 11) + padded(entry, 24) + result + "\n";
        }
    }
    text += counted(static_cast<int>(report.types.size()), "type") + " at " +
            counted(static_cast<int>(report.screens.size()), "screen size") + " (" +
            screenList(report.screens) + "): " + counted(report.errorCount(), "error") + ", " +
            counted(report.warningCount(), "warning") + "\n";
    return text;
}
