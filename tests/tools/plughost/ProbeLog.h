// Reading back what the probe plug-in wrote down about its host.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

struct ProbeLine {
    std::string kind;  // version, dispatch, set or process
    std::vector<std::string> fields;

    double number(std::size_t i) const { return std::stod(fields.at(i)); }
};

inline std::vector<ProbeLine> parseProbeLog(const std::string& text) {
    std::vector<ProbeLine> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        ProbeLine parsed;
        words >> parsed.kind;
        for (std::string word; words >> word;) parsed.fields.push_back(word);
        if (!parsed.kind.empty()) lines.push_back(parsed);
    }
    return lines;
}

inline std::vector<ProbeLine> linesOf(const std::vector<ProbeLine>& lines, const std::string& kind) {
    std::vector<ProbeLine> found;
    for (const ProbeLine& line : lines)
        if (line.kind == kind) found.push_back(line);
    return found;
}
