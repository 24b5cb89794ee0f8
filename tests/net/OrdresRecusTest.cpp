// Received orders: the packed sequence cut into its orders, and the orders held during a base
// transfer replayed in arrival order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/OrdresRecus.h"

namespace {

std::string Element(const std::string& ordre) {
  const uint32_t n = uint32_t(ordre.size());
  return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + ordre;
}

std::vector<std::string> Decoupes(const std::string& message, uint32_t* nombre = nullptr) {
  std::vector<std::string> vus;
  const uint32_t n = OrdresRecus::Decouper(reinterpret_cast<const uint8_t*>(message.data()), uint32_t(message.size()),
                                           [&](const uint8_t* o, uint32_t t) { vus.emplace_back((const char*)o, t); });
  if (nombre) *nombre = n;
  return vus;
}

TEST(OrdresRecus, APackedSequenceGivesItsCompleteElementsInOrder) {
  using V = std::vector<std::string>;
  const std::string a = Element("premier"), b = Element(""), c = Element("troisieme");
  struct Cas {
    const char* nom;
    std::string message;
    V attendus;
  } cas[] = {
      {"whole", a + b + c, {"premier", "", "troisieme"}},
      {"last element cut short", a + b + c.substr(0, c.size() - 1), {"premier", ""}},
      {"length longer than everything", a + std::string("\xff\xff\xff\xff", 4) + c, {"premier"}},
      {"fewer than 4 bytes left", a + std::string("\x01\x00", 2), {"premier"}},
      {"empty", "", {}},
  };
  for (const auto& k : cas) {
    SCOPED_TRACE(k.nom);
    uint32_t n = 0;
    EXPECT_EQ(Decoupes(k.message, &n), k.attendus);
    EXPECT_EQ(n, k.attendus.size());
  }
}

TEST(OrdresRecus, HeldOrdersAreReplayedOnceInArrivalOrder) {
  TOrdresRetenus retenus;
  retenus.Commencer();
  retenus.Retenir(reinterpret_cast<const uint8_t*>("perdu"), 5);
  // Asking for the base again drops what was held for the base it replaces.
  retenus.Commencer();
  EXPECT_TRUE(retenus.Actif());
  for (const std::string o : {"un", "", "trois"}) retenus.Retenir(reinterpret_cast<const uint8_t*>(o.data()), uint32_t(o.size()));
  std::vector<std::string> vus;
  retenus.Rejouer([&](const uint8_t* o, uint32_t t) {
    EXPECT_FALSE(retenus.Actif());
    vus.emplace_back((const char*)o, t);
  });
  EXPECT_EQ(vus, (std::vector<std::string>{"un", "", "trois"}));
  EXPECT_EQ(retenus.Nombre(), 0u);
  retenus.Rejouer([&](const uint8_t*, uint32_t) { ADD_FAILURE(); });
}

}  // namespace
