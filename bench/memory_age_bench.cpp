// How long a first read of memory takes once it has lain untouched for a while: a prepared
// slide's picture is made an interval before it is drawn, the floor's picture a moment before.
// Prints, for each pause, the first copy of a screen-sized (8 MB) buffer, a pure CPU loop after
// it, and a second copy: if only the first copy grows with the pause, memory that lies still
// costs more to touch on this machine, whatever the program does with it.
//   memory_age_bench [ROUNDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
  const std::size_t size = 1920u * 1080u * 4u;
  for (int round = 0; round < rounds; ++round) {
    for (const int pause_ms : {200, 1500}) {
      std::vector<char> from(size, 7);
      std::vector<char> to(size, 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
      const auto t0 = std::chrono::steady_clock::now();
      std::memcpy(to.data(), from.data(), size);
      const auto t1 = std::chrono::steady_clock::now();
      volatile long sum = 0;
      for (long i = 0; i < 2000000; ++i) sum = sum + i;
      const auto t2 = std::chrono::steady_clock::now();
      std::memcpy(to.data(), from.data(), size);
      const auto t3 = std::chrono::steady_clock::now();
      std::printf(
          "after %4d ms still: first copy %5.2f ms, CPU loop %5.2f ms, copy again %5.2f ms\n",
          pause_ms, Ms(t1 - t0), Ms(t2 - t1), Ms(t3 - t2));
    }
  }
  return 0;
}
