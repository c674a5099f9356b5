// Reads the line changes recorded by keying_shim and prints how far the key-downs and the gaps between them
// strayed from their nominal lengths.
//
//   keying_analysis [--line dtr|rts] [--dot MS] [--dash MS] FILE...
//
// A key-down is paired with the dot or the dash, whichever is nearer; a gap with the nearest whole number of dots
// (element, character and word gaps alike). Gaps longer than ten dots are the pauses around a transmission and
// are left out. Figures are of |measured - nominal| in milliseconds, over every file given.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Edge {
    long long ns;
    bool down;
};

struct Summary {
    std::size_t count = 0;
    double median = 0, p99 = 0, max = 0, mean = 0;
};

Summary summarize(std::vector<double> values) {
    Summary s;
    s.count = values.size();
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        const std::size_t i = std::min(values.size() - 1, std::size_t(std::ceil(q * double(values.size())) - 1));
        return values[i];
    };
    s.median = at(0.5);
    s.p99 = at(0.99);
    s.max = values.back();
    double sum = 0;
    for (double v : values)
        sum += v;
    s.mean = sum / double(values.size());
    return s;
}

void print(const char* what, const Summary& s) {
    std::printf("%-9s count %5zu  median %6.3f ms  p99 %6.3f ms  max %6.3f ms  mean %6.3f ms\n", what, s.count,
                s.median, s.p99, s.max, s.mean);
}

// The edges of the keying line on the descriptor that keyed most, in order, each a change of state.
std::vector<Edge> readEdges(const char* path, bool dtr) {
    std::ifstream in(path);
    std::map<int, std::vector<Edge>> byFd;
    std::map<int, int> lastState;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        long long ns = 0;
        int fd = 0, dtrOn = 0, rtsOn = 0;
        if (!(fields >> ns >> fd >> dtrOn >> rtsOn))
            continue;
        const int state = dtr ? dtrOn : rtsOn;
        const auto last = lastState.find(fd);
        if (last != lastState.end() && last->second == state)
            continue;
        lastState[fd] = state;
        byFd[fd].push_back({ns, state != 0});
    }
    std::vector<Edge> best;
    for (auto& [fd, edges] : byFd)
        if (edges.size() > best.size())
            best = std::move(edges);
    return best;
}

} // namespace

int main(int argc, char** argv) {
    bool dtr = true;
    double dot = 30, dash = 90;
    std::vector<const char*> files;
    for (int i = 1; i < argc; ++i) {
        const auto value = [&] { return i + 1 < argc ? argv[++i] : ""; };
        if (!std::strcmp(argv[i], "--line"))
            dtr = std::strcmp(value(), "rts") != 0;
        else if (!std::strcmp(argv[i], "--dot"))
            dot = std::atof(value());
        else if (!std::strcmp(argv[i], "--dash"))
            dash = std::atof(value());
        else
            files.push_back(argv[i]);
    }
    if (files.empty() || dot <= 0 || dash <= 0) {
        std::fprintf(stderr, "usage: keying_analysis [--line dtr|rts] [--dot MS] [--dash MS] FILE...\n");
        return 2;
    }
    std::vector<double> downs, gaps;
    for (const char* file : files) {
        const std::vector<Edge> edges = readEdges(file, dtr);
        for (std::size_t i = 1; i < edges.size(); ++i) {
            const double ms = double(edges[i].ns - edges[i - 1].ns) / 1e6;
            if (edges[i - 1].down && !edges[i].down) {
                const double nominal = std::abs(ms - dot) < std::abs(ms - dash) ? dot : dash;
                downs.push_back(std::abs(ms - nominal));
            } else if (!edges[i - 1].down && edges[i].down && ms <= 10 * dot) {
                const double nominal = std::max(1.0, std::round(ms / dot)) * dot;
                gaps.push_back(std::abs(ms - nominal));
            }
        }
    }
    print("key-down", summarize(downs));
    print("gap", summarize(gaps));
    return downs.empty() ? 1 : 0;
}
