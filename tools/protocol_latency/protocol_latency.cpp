// Protocol response times of the engine as a front end measures them: isready during a search,
// bestmove after go movetime N and after stop, and the time quit takes to end the process.
// Usage: protocol_latency [program] (default: the corvid built alongside).
#include "support/engine_process.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using corvid::test::EngineProcess;
using corvid::test::steadyMilliseconds;

namespace {

struct Figures {
    std::vector<long long> samples;
    void add(long long ms) { samples.push_back(ms); }
    void print(const char* what) {
        if (samples.empty()) {
            std::printf("%-40s no samples\n", what);
            return;
        }
        std::sort(samples.begin(), samples.end());
        std::printf("%-40s n=%3zu median %4lld ms  max %4lld ms\n", what, samples.size(),
                    samples[samples.size() / 2], samples.back());
    }
};

void startUci(EngineProcess& engine) {
    engine.send("uci");
    engine.waitFor("uciok", 10000);
    engine.send("position startpos moves e2e4 e7e5 g1f3 b8c6");
}

} // namespace

int main(int argc, char** argv) {
    std::string program = argc > 1 ? argv[1] : CORVID_DEFAULT_PROGRAM;
    Figures isReady, stop, quit;
    Figures moveTime[3];
    const int moveTimes[3] = {50, 100, 500};
    {
        EngineProcess engine(program);
        startUci(engine);
        engine.send("go infinite");
        engine.linesWithin(200);
        for (int i = 0; i < 200; ++i) {
            long long start = steadyMilliseconds();
            engine.send("isready");
            if (engine.waitFor("readyok", 5000)) isReady.add(steadyMilliseconds() - start);
        }
        engine.send("stop");
        engine.waitFor("bestmove", 5000);
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < (k == 2 ? 10 : 30); ++i) {
                long long start = steadyMilliseconds();
                engine.send("go movetime " + std::to_string(moveTimes[k]));
                if (engine.waitFor("bestmove", 5000))
                    moveTime[k].add(steadyMilliseconds() - start - moveTimes[k]);
            }
        for (int i = 0; i < 50; ++i) {
            engine.send("go infinite");
            engine.linesWithin(20);
            long long start = steadyMilliseconds();
            engine.send("stop");
            if (engine.waitFor("bestmove", 5000)) stop.add(steadyMilliseconds() - start);
        }
    }
    for (int i = 0; i < 10; ++i) {
        EngineProcess engine(program);
        startUci(engine);
        engine.send("go infinite");
        engine.linesWithin(100);
        long long start = steadyMilliseconds();
        engine.send("quit");
        if (engine.waitExit(5000) == 0) quit.add(steadyMilliseconds() - start);
    }
    isReady.print("isready during go infinite");
    for (int k = 0; k < 3; ++k) {
        std::string label =
            "bestmove after movetime " + std::to_string(moveTimes[k]) + ", overshoot";
        moveTime[k].print(label.c_str());
    }
    stop.print("bestmove after stop");
    quit.print("process end after quit (searching)");
    return 0;
}
