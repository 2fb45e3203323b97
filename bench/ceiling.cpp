// The machine's own ceiling for parallel work: the same loop of pure arithmetic (no memory traffic) on
// one thread and then on N threads at once, each thread doing the one thread's work. The ratio of the
// two times is the best parallel efficiency any work can reach on this machine now (shared caches,
// frequency, other programs). Prints "threads seconds_one seconds_each efficiency".
//
// Two loops, as the fourth argument says. "fp" (the default): four chains of floating-point multiply
// and add, each waiting for its own last result; it uses a small part of a processor's execution units.
// "int": six integer values that feed each other, several operations ready at every cycle; it keeps
// the execution units busy, as the engine's pile solutions and report formatting do, and so it also
// feels whatever shares those units with our threads (on a virtual machine, work of other guests on
// the same physical cores). The first loop is the optimistic ceiling, the second the one busy code sees.
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

volatile double sink;

double work(long rounds) {
    double a = 1.0, b = 0.5, c = 0.25, d = 0.125;
    for (long i = 0; i < rounds; ++i) {
        a = a * 0.9999999 + 1e-7;
        b = b * 0.9999998 + 2e-7;
        c = c * 0.9999997 + 3e-7;
        d = d * 0.9999996 + 4e-7;
    }
    return a + b + c + d;
}

double workInt(long rounds) {
    std::uint64_t a = 1, b = 2, c = 3, d = 4, e = 5, f = 6;
    for (long i = 0; i < rounds; ++i) {
        const auto k = static_cast<std::uint64_t>(i);
        a += b ^ k;
        b += c >> 3;
        c ^= d + k;
        d += e << 1;
        e ^= f + a;
        f += a >> 5;
    }
    return static_cast<double>(a + b + c + d + e + f);
}

double timed(int threads, long rounds, bool integer) {
    const auto t0 = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([rounds, integer] { sink = integer ? workInt(rounds) : work(rounds); });
    for (std::thread& t : pool) t.join();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int threads = argc > 1 ? std::atoi(argv[1]) : 8;
    const long rounds = argc > 2 ? std::atol(argv[2]) : 300000000L;
    const int repeats = argc > 3 ? std::atoi(argv[3]) : 3;
    const bool integer = argc > 4 && std::strcmp(argv[4], "int") == 0;
    double one = 1e300, many = 1e300;
    for (int r = 0; r < repeats; ++r) {
        const double a = timed(1, rounds, integer), b = timed(threads, rounds, integer);
        if (a < one) one = a;
        if (b < many) many = b;
    }
    std::printf("%d %.3f %.3f %.3f\n", threads, one, many, one / many);
    return 0;
}
