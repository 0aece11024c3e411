#pragma once
#include "check/check_report.h"

#include <string>

// The report as the checker prints it: one line per problem in the form compilers use
// ("path(line): error: where: text"), so that editors can jump to it, then a summary of
// every type at every screen size.
std::string reportText(const CheckReport& report);

// One problem's line, without its line break.
std::string problemLine(const CheckReport& report, const Problem& problem);

const char* moveTypeName(std::int32_t moveType);
