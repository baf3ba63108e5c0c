// A Google Benchmark main that, after the usual console output, prints the cost per vertex of each
// benchmark "Name/N" (N vertices per iteration) and its ratio to "NameFloor/N", the bare cost of
// the same trigonometry or memory traffic in a plain loop, measured in the same run.
#ifndef GLIMMERSET_BENCH_MODELS_FLOOR_REPORT_H
#define GLIMMERSET_BENCH_MODELS_FLOOR_REPORT_H

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace floor_report {

class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.benchmark_name();
            const std::size_t slash = name.find('/');
            if (slash == std::string::npos) continue;
            const double vertices = std::atof(name.c_str() + slash + 1);
            const double ns = run.real_accumulated_time / static_cast<double>(run.iterations) * 1e9;
            perVertex[name.substr(0, slash)][name.substr(slash + 1)] = ns / vertices;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf("\n%-22s %10s %14s %14s %8s\n", "benchmark", "vertices", "ns/vertex", "floor ns/v", "ratio");
        for (const auto& [name, sizes] : perVertex) {
            if (name.size() > 5 && name.compare(name.size() - 5, 5, "Floor") == 0) continue;
            const auto floor = perVertex.find(name + "Floor");
            for (const auto& [size, ns] : sizes) {
                double floorNs = 0;
                if (floor != perVertex.end() && floor->second.count(size)) floorNs = floor->second.at(size);
                std::printf("%-22s %10s %14.2f %14.2f %8.2f\n", name.c_str(), size.c_str(), ns, floorNs,
                            floorNs > 0 ? ns / floorNs : 0.0);
            }
        }
    }

    std::map<std::string, std::map<std::string, double>> perVertex;
};

inline int Main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}

}  // namespace floor_report

#endif
