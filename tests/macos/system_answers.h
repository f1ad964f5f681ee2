// What the system answered where a test records its answer instead of
// asserting it (a status and its text on one system or another, a reason
// LocalAuthentication gives), for the macOS workflow's job summary.
#pragma once

#include <string_view>

namespace tresk::macos {

// One row of the table named `table`: what was asked, and the answer.
void recordAnswer(std::string_view table, std::string_view asked, std::string_view answer);

// Appends the rows, one Markdown table each, to the file TRESK_MACOS_REPORT
// names; without that variable nothing is written. Called once, after the
// tests: a death test's child never gets there, so no row is written twice.
void writeRecordedAnswers();

}  // namespace tresk::macos
