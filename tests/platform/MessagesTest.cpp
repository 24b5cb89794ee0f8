// Window messages: sent at once, posted in order, handled by one pass or by the loop, and never
// delivered to a receiver that has gone.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/gui/Messages.h"
#include "platform/loop/MainLoop.h"

namespace {

using Recu = std::pair<uint32_t, intptr_t>;

class Fenetre : public TRecepteurMessages {
 public:
  std::vector<Recu> Recus;
  std::function<void(uint32_t)> Pendant;  // runs inside each message
  void RecevoirMessage(uint32_t Message, intptr_t Parametre) override {
    Recus.emplace_back(Message, Parametre);
    if (Pendant) Pendant(Message);
  }
};

class MessagesFenetres : public ::testing::Test {
 protected:
  void TearDown() override {
    Messages::Attacher(nullptr);
    Messages::TraiterMessagesEnAttente();
  }
};

TEST_F(MessagesFenetres, SentAtOncePostedInOrderByTheNextPass) {
  Fenetre a, b;
  Messages::Envoyer(&a, Messages::WM_USER + 4, 7);
  EXPECT_EQ(a.Recus, (std::vector<Recu>{{0x404, 7}}));
  Messages::Poster(&a, Messages::WM_USER, 10);
  Messages::Poster(&b, Messages::WM_USER + 1, 1);
  Messages::Poster(&a, Messages::WM_USER, 20);
  Messages::Poster(nullptr, Messages::WM_USER, 30);
  EXPECT_EQ(a.Recus.size(), 1u);
  EXPECT_EQ(Messages::NombreEnAttente(), 3u);
  Messages::TraiterMessagesEnAttente();
  EXPECT_EQ(a.Recus, (std::vector<Recu>{{0x404, 7}, {0x400, 10}, {0x400, 20}}));
  EXPECT_EQ(b.Recus, (std::vector<Recu>{{0x401, 1}}));
  EXPECT_EQ(Messages::NombreEnAttente(), 0u);
}

TEST_F(MessagesFenetres, AMessagePostedDuringAPassWaitsForTheNext) {
  Fenetre a;
  a.Pendant = [&a](uint32_t m) {
    if (m == 1) Messages::Poster(&a, 2, 0);
  };
  Messages::Poster(&a, 1, 0);
  Messages::TraiterMessagesEnAttente();
  EXPECT_EQ(a.Recus.size(), 1u);
  Messages::TraiterMessagesEnAttente();
  EXPECT_EQ(a.Recus, (std::vector<Recu>{{1, 0}, {2, 0}}));
}

TEST_F(MessagesFenetres, AReceiverThatGoesTakesItsPendingMessagesWithIt) {
  Fenetre reste;
  auto part = std::make_unique<Fenetre>();
  Messages::Poster(part.get(), 1, 0);
  Messages::Poster(&reste, 2, 0);
  Messages::Poster(part.get(), 3, 0);
  part.reset();
  EXPECT_EQ(Messages::NombreEnAttente(), 1u);
  Messages::TraiterMessagesEnAttente();
  EXPECT_EQ(reste.Recus, (std::vector<Recu>{{2, 0}}));
}

TEST_F(MessagesFenetres, AReceiverThatRaisesLeavesTheLaterMessagesQueued) {
  Fenetre a;
  a.Pendant = [](uint32_t m) {
    if (m == 1) throw std::runtime_error("refused");
  };
  Messages::Poster(&a, 1, 0);
  Messages::Poster(&a, 2, 0);
  EXPECT_THROW(Messages::TraiterMessagesEnAttente(), std::runtime_error);
  EXPECT_EQ(Messages::NombreEnAttente(), 1u);
  Messages::TraiterMessagesEnAttente();
  EXPECT_EQ(a.Recus, (std::vector<Recu>{{1, 0}, {2, 0}}));
}

TEST_F(MessagesFenetres, AnAttachedLoopHandlesPostedMessagesByItself) {
  MainLoop loop{[] {}, [] {}};
  Messages::Attacher(&loop);
  Fenetre a;
  Messages::Poster(&a, 5, 50);
  Messages::Poster(&a, 6, 60);
  ASSERT_EQ(loop.WaitUntil([&a] { return a.Recus.size() == 2; }, std::chrono::seconds(5)),
            MainLoop::WaitResult::Satisfied);
  EXPECT_EQ(a.Recus, (std::vector<Recu>{{5, 50}, {6, 60}}));
  // A message a pass already handled is not handled again by its loop handler.
  Messages::Poster(&a, 7, 0);
  Messages::TraiterMessagesEnAttente();
  (void)loop.WaitUntil([] { return false; }, std::chrono::milliseconds(20));
  EXPECT_EQ(a.Recus.size(), 3u);
}

}  // namespace
