#include <gtest/gtest.h>

#include <zlib.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/server/ServerTestSupport.h"

namespace {

// A base body of 10 MiB that compresses like records do: numbers and names that repeat, not runs.
std::string TenMebibytes() {
  std::string body;
  body.reserve(10u << 20);
  uint32_t x = 12345;
  char line[64];
  while (body.size() < (10u << 20)) {
    x = x * 1103515245 + 12345;
    const int n = std::snprintf(line, sizeof line, "C%07u S%03u P%05u %c%c%c;", x >> 8 & 0xFFFFF, x >> 4 & 0x1FF,
                                x & 0x3FFF, 'A' + (x >> 27), 'a' + (x >> 22 & 15), 'a' + (x >> 18 & 15));
    body.append(line, static_cast<size_t>(n));
  }
  body.resize(10u << 20);
  return body;
}

TEST(DataServerLoad, AHundredClientsReceiveATenMebibyteBaseAtOnce) {
  ServerTest::TempFolder folder;
  uint32_t profile = 0;
  const std::string body = TenMebibytes();
  ServerTest::MakeStore(folder.Path, body, profile);
  ServerTest::ServerThread server(folder.Path);
  const auto compressed = server.Call([&](DataServer& s) { return s.CompressedBase(profile); });
  ASSERT_NE(compressed, nullptr);
  const uLong expected = crc32(0, reinterpret_cast<const Bytef*>(compressed->data()), static_cast<uInt>(compressed->size()));

  constexpr int kClients = 100;
  std::atomic<int> whole{0};
  std::vector<std::string> failures(kClients);
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> threads;
  for (int i = 0; i < kClients; ++i) {
    threads.emplace_back([&, i] {
      ServerTest::Client c(server.Port(), std::chrono::seconds(120));
      c.Greeting();
      if (c.LogIn("JMA", "pw1", profile).Result != 0) {
        failures[static_cast<size_t>(i)] = "login";
        return;
      }
      uLong crc = crc32(0, nullptr, 0);
      const auto size = c.Stream(0, [&](std::string_view p) {
        crc = crc32(crc, reinterpret_cast<const Bytef*>(p.data()), static_cast<uInt>(p.size()));
      });
      if (!size || *size != compressed->size() || crc != expected) {
        failures[static_cast<size_t>(i)] = "stream 0";
        return;
      }
      ++whole;
    });
  }
  for (auto& t : threads) t.join();
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (int i = 0; i < kClients; ++i) EXPECT_EQ(failures[static_cast<size_t>(i)], "") << "client " << i;
  EXPECT_EQ(whole.load(), kClients);
  // The inflated stream is the base itself.
  EXPECT_EQ(ServerTest::Inflate(*compressed).substr(256), body);
  std::printf("%d clients received %zu compressed bytes each (base of %zu bytes) in %.1f s\n", kClients,
              compressed->size(), body.size(), seconds);
}

}  // namespace
