// bitbase_gen: writes the engine's nine endgame bitbases by retrograde analysis.
//
//   bitbase_gen [--out DIR] [--only NAME,NAME...] [--verify] [--verbose]
//
// --verify recomputes every state of each source table forward from its successors.
#include "bitbase_files.h"
#include "consistency.h"

#include "startup/engine_init.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <sstream>
#include <string>
#include <sys/stat.h>

using namespace corvid;
using namespace corvid::bitbase_gen;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

int run(int argc, char** argv) {
    std::string out = "bitbases";
    std::vector<std::string> names = BitbaseNames();
    bool verify = false;
    Registry registry;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--out") && i + 1 < argc) {
            out = argv[++i];
        } else if (!std::strcmp(argv[i], "--only") && i + 1 < argc) {
            names.clear();
            std::stringstream list(argv[++i]);
            for (std::string name; std::getline(list, name, ',');) names.push_back(name);
        } else if (!std::strcmp(argv[i], "--verify")) {
            verify = true;
        } else if (!std::strcmp(argv[i], "--verbose")) {
            registry.verbose = true;
        } else {
            std::fprintf(
                stderr,
                "usage: bitbase_gen [--out DIR] [--only NAME,...] [--verify] [--verbose]\n");
            return 2;
        }
    }
    initEngineTables();
    ::mkdir(out.c_str(), 0755);
    auto total = std::chrono::steady_clock::now();
    int failures = 0;
    for (const std::string& name : names) {
        auto start = std::chrono::steady_clock::now();
        LogicalBits logical = BuildBitbase(name, registry);
        std::vector<uint8_t> bytes = EncodeBitbase(logical);
        std::string path = out + "/" + name + ".ebb";
        if (!writeFile(path, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%-9s %9zu bytes (logical %8zu) %7.1f s\n", name.c_str(), bytes.size(),
                    logical.bits.size(), secondsSince(start));
        std::fflush(stdout);
        if (!verify) continue;
        for (const Material& m : SourceMaterials(name)) {
            auto vstart = std::chrono::steady_clock::now();
            const Table& table = registry.solve(m, true);
            ConsistencyReport r = CheckConsistency(table, registry);
            std::printf("  verify %-16s %10lld states (%lld wins, %lld draws, %lld losses): "
                        "%lld failures %s %6.1f s\n",
                        m.name().c_str(), (long long)r.states, (long long)r.wins,
                        (long long)r.draws, (long long)r.losses, (long long)r.failures,
                        r.firstFailure.c_str(), secondsSince(vstart));
            failures += r.failures != 0;
        }
    }
    std::printf("total %.1f s\n", secondsSince(total));
    return failures ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bitbase_gen: %s\n", e.what());
        return 1;
    }
}
