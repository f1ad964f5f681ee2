#include "macos/system_answers.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "text/unicode.h"

namespace tresk::macos {
namespace {

struct Answer {
    std::string table, asked, answer;
};

std::vector<Answer>& answers() {
    static std::vector<Answer> recorded;
    return recorded;
}

// The system's words in one table cell: no raw control character, no column break.
std::string cell(std::string_view text) {
    std::string escaped;
    for (char c : text::visibleText(text)) {
        if (c == '|') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

}  // namespace

void recordAnswer(std::string_view table, std::string_view asked, std::string_view answer) {
    answers().push_back({std::string(table), std::string(asked), std::string(answer)});
}

void writeRecordedAnswers() {
    const char* path = std::getenv("TRESK_MACOS_REPORT");
    if (!path || !*path) return;
    // Appended: a run of one test at a time (ctest) adds its rows to the others'.
    std::ofstream report(path, std::ios::app);
    std::vector<std::string> tables;
    for (const auto& a : answers()) {
        if (std::find(tables.begin(), tables.end(), a.table) == tables.end()) tables.push_back(a.table);
    }
    for (const auto& table : tables) {
        report << "\n| " << cell(table) << " | answer |\n|---|---|\n";
        for (const auto& a : answers()) {
            if (a.table == table) report << "| " << cell(a.asked) << " | " << cell(a.answer) << " |\n";
        }
    }
}

}  // namespace tresk::macos
