// The exclusive-mode messages as the server lays them out, and those of another length ignored.
#include <gtest/gtest.h>

#include <string>

#include "net/transport/MessagesModeExclusif.h"

using namespace MessagesModeExclusif;

TEST(MessagesModeExclusif, ChangesAreReadAtTheirOffsets) {
  std::string d(212, '\0');
  d[0] = 3;
  d[1] = 7;  // any non-zero byte is true
  d[2] = 1;
  d[3] = 2;
  d[4] = 0x78, d[5] = 0x56, d[6] = 0x34, d[7] = 0x12;
  d[8] = 8;
  d.replace(9, 8, "poste 12");
  const auto* o = reinterpret_cast<const uint8_t*>(d.data());
  TypeModeModifie m;
  ASSERT_TRUE(LireModeModifie(o, 212, m));
  EXPECT_EQ(m.GenreProc, 3);
  EXPECT_TRUE(m.ModeExclusif);
  EXPECT_EQ(m.Valider, 1);
  EXPECT_EQ(m.Action, 2);
  EXPECT_EQ(m.IdentDemandeur, 0x12345678u);
  EXPECT_EQ(m.InfosDemandeur, "poste 12");
  m.ModeExclusif = true;
  std::string attendu = d;
  attendu[1] = 1;
  EXPECT_EQ(EcrireModeModifie(m), attendu);
  // A length byte beyond the field is cut to it.
  d[8] = char(255);
  ASSERT_TRUE(LireModeModifie(o, 212, m));
  EXPECT_EQ(m.InfosDemandeur.size(), 200u);
  EXPECT_FALSE(LireModeModifie(o, 211, m));

  const uint8_t verrou[] = {2, 1};
  TypeVerrouModifie v;
  ASSERT_TRUE(LireVerrouModifie(verrou, 2, v));
  EXPECT_EQ(v.GenreProc, 2);
  EXPECT_TRUE(v.Verrou);
  EXPECT_FALSE(LireVerrouModifie(verrou, 1, v));
}
