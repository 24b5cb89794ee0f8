// Event ids, subscription lists, notification order and stop, and the lifetimes of publishers and
// subscribers.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/objects/ObjetEvent.h"

namespace {
class TEcouteur : public TObjetAbonne {
 public:
  TEcouteur(std::vector<std::pair<int, TypeEventId>>* journal, int id, bool reponse = true)
      : journal_(journal), id_(id), reponse_(reponse) {}
  bool Recevoir(TObject*, TypeEventId EventId, TObject*) override {
    journal_->push_back({id_, EventId});
    return reponse_;
  }

 private:
  std::vector<std::pair<int, TypeEventId>>* journal_;
  int id_;
  bool reponse_;
};
using Journal = std::vector<std::pair<int, TypeEventId>>;
}  // namespace

TEST(EventIds, HandedOutOneAfterTheOther) {
  TypeEventId a = TObjetAbonnant::NouvelEventId();
  TypeEventId b = TObjetAbonnant::NouvelEventId();
  EXPECT_GE(a, 1);
  EXPECT_EQ(b, a + 1);
}

TEST(Subscription, ListsKeepOrderDropDuplicatesAndTreatAllEventsApart) {
  TObjetAbonnant p;
  Journal j;
  TEcouteur s(&j, 1);
  p.Abonner(&s, {3});
  p.Abonner(&s, {4, 3});
  EXPECT_EQ(p.ListeDe(&s).Ids, (std::vector<TypeEventId>{3, 4}));
  TEcouteur t(&j, 2);
  p.Abonner(&t, {7, 7});
  EXPECT_EQ(p.ListeDe(&t).Ids, std::vector<TypeEventId>{7});

  TEcouteur u(&j, 3);
  p.Abonner(&u, {});
  EXPECT_EQ(p.NombreAbonnes(), 2);  // an empty list creates no entry
  p.Abonner(&u, {-1});
  p.Abonner(&u, {});
  EXPECT_EQ(p.NombreAbonnes(), 2);  // all-events then empty: removed

  p.Abonner(&u, {-1});
  p.Abonner(&u, {5});
  EXPECT_EQ(p.ListeDe(&u).Ids, std::vector<TypeEventId>{5});
  TEcouteur v(&j, 4);
  p.Abonner(&v, {2});
  p.Abonner(&v, {-1});
  EXPECT_EQ(p.ListeDe(&v).Ids, (std::vector<TypeEventId>{2, -1}));  // not the all-events list
}

TEST(Notification, AllEventsListReceivesEverythingOrdinaryListsTheirIds) {
  TObjetAbonnant p;
  Journal j;
  TEcouteur all(&j, 1), two(&j, 2), three(&j, 3);
  p.Abonner(&all, {-1});
  p.Abonner(&two, {2});
  p.Abonner(&two, {-1});
  p.Abonner(&three, {-1, 5});  // starts with -1 but holds another id: an ordinary list
  p.Notifier(9, nullptr);
  EXPECT_EQ(j, (Journal{{1, 9}}));
  j.clear();
  p.Notifier(2, nullptr);
  EXPECT_EQ(j.size(), 2u);
  j.clear();
  p.Notifier(5, nullptr);
  EXPECT_EQ(j, (Journal{{1, 5}, {3, 5}}));
  j.clear();
  TObjetAbonnant nobody;
  nobody.Notifier(1, nullptr);
  p.Notifier(12345, nullptr);
  EXPECT_EQ(j, (Journal{{1, 12345}}));
}

TEST(Notification, StopsAtTheFirstFalseAndStartsAgainFromTheFirst) {
  TObjetAbonnant p;
  Journal j;
  // Subscribers are visited by ascending address: number them in that order.
  std::vector<std::unique_ptr<TEcouteur>> s;
  std::vector<void*> blocks;
  for (int i = 0; i < 3; ++i) blocks.push_back(::operator new(sizeof(TEcouteur)));
  std::sort(blocks.begin(), blocks.end());
  for (int i = 0; i < 3; ++i) s.emplace_back(new (blocks[static_cast<std::size_t>(i)]) TEcouteur(&j, i + 1, i != 1));
  for (auto& e : s) p.Abonner(e.get(), {4});
  p.Notifier(4, nullptr);
  EXPECT_EQ(j, (Journal{{1, 4}, {2, 4}}));
  j.clear();
  p.Notifier(4, nullptr);
  EXPECT_EQ(j, (Journal{{1, 4}, {2, 4}}));
}

TEST(Lifetimes, FreedSubscriberLeavesEveryPublisherAndFreedPublisherIsForgotten) {
  Journal j;
  TObjetAbonnant p1;
  auto* p2 = new TObjetAbonnant;
  auto* s = new TEcouteur(&j, 1);
  TEcouteur keeper(&j, 2);
  p1.Abonner(s, {1});
  p2->Abonner(s, {1});
  p2->Abonner(&keeper, {1});
  delete s;
  EXPECT_EQ(p1.NombreAbonnes(), 0);
  EXPECT_EQ(p2->NombreAbonnes(), 1);
  p1.Notifier(1, nullptr);
  p2->Notifier(1, nullptr);
  EXPECT_EQ(j, (Journal{{2, 1}}));
  delete p2;  // keeper must not try to leave a freed publisher when it goes
}

TEST(Lifetimes, SubscriberUnsubscribesThroughTheInterface) {
  Journal j;
  TObjetAbonnant p;
  TEcouteur s(&j, 1);
  auto* intf = InterfaceOf<IObjetAbonnant>(&p);
  ASSERT_NE(intf, nullptr);
  s.SAbonner(intf, {8});
  p.Notifier(8, nullptr);
  s.SeDesabonner(intf);
  p.Notifier(8, nullptr);
  EXPECT_EQ(j, (Journal{{1, 8}}));
  p.Desabonner(&s);  // not subscribed: nothing
}
