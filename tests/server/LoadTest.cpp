#include <gtest/gtest.h>

#include <zlib.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "tests/server/ServerTestSupport.h"

namespace {

// A base body of 10 MiB laid out as the record files store it: records of a fixed size, each an
// identifier, a few small numbers and a counted name from a short list, the rest of the record zero.
std::string TenMebibytes() {
  static const char* const kNames[] = {"MATHEMATIQUES", "FRANCAIS", "HISTOIRE-GEOGRAPHIE", "PHYSIQUE-CHIMIE",
                                       "ANGLAIS LV1", "SALLE B12", "DUPONT Jeanne", "MARTIN Paul"};
  constexpr size_t kRecord = 96;
  std::string body(10u << 20, '\0');
  uint32_t x = 12345;
  for (size_t at = 0; at + kRecord <= body.size(); at += kRecord) {
    x = x * 1103515245 + 12345;
    char* r = body.data() + at;
    const uint32_t fields[4] = {static_cast<uint32_t>(at / kRecord + 1), x >> 20 & 0x3FF, x >> 8 & 0x1F, x >> 13 & 0x7};
    std::memcpy(r, fields, sizeof fields);
    const char* name = kNames[x >> 29];
    r[16] = static_cast<char>(std::strlen(name));
    std::memcpy(r + 17, name, std::strlen(name));
  }
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
