#include <gtest/gtest.h>

#include "platform/ui/SaisieEnCours.h"

namespace {

bool ouverte = true;
int abandons = 0;

TEST(SaisieEnCours, WithoutTheToolkitNoEntryIsOpenAndTheInstalledRoutinesAnswerOtherwise) {
  EXPECT_FALSE(SaisieEnCours::EntreeEnCours());
  EXPECT_FALSE(SaisieEnCours::TerminerSaisie(true));
  SaisieEnCours::Definir(
      [](bool Abandonner) {
        const bool etait = ouverte;
        abandons += Abandonner;
        ouverte = false;
        return etait;
      },
      [] { return ouverte; });
  EXPECT_TRUE(SaisieEnCours::EntreeEnCours());
  EXPECT_TRUE(SaisieEnCours::TerminerSaisie(true));
  EXPECT_FALSE(SaisieEnCours::TerminerSaisie(false));
  EXPECT_EQ(abandons, 1);
  SaisieEnCours::Definir(nullptr, nullptr);
  EXPECT_FALSE(SaisieEnCours::TerminerSaisie(true));
}

}  // namespace
