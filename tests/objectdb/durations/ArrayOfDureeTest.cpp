// The duration array: order by value, an element in streams as its value in days, and the
// debugging text of a duration in its trace.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/serial/Serialisation.h"
#include "objectdb/durations/ArrayOfDuree.h"

namespace {
TypeDureeStockee Duree(double jours) {
  TypeDureeStockee d;
  DureeStockee::DureeInitialiser(d, jours);
  return d;
}
}  // namespace

TEST(ArrayOfDuree, SortsByValueWithInfinitiesAtTheEnds) {
  TArrayOfDuree a(32, true, false);
  const double infini = std::numeric_limits<double>::infinity();
  for (double v : {2.0, infini, 0.5, -infini, 1.0}) a.Ajouter(Duree(v));
  a.SetToujoursTrie(true);
  std::vector<double> valeurs;
  for (int32_t i = 0; i < a.GetNombreElements(); ++i) valeurs.push_back(a.GetElement(i).Valeur);
  EXPECT_EQ(valeurs, (std::vector<double>{-infini, 0.5, 1.0, 2.0, infini}));
  int32_t i;
  EXPECT_TRUE(a.Chercher(Duree(1.0 + 1e-13), i));
  EXPECT_EQ(i, 2);
}

TEST(ArrayOfDuree, WrittenAsItsValueAndReadBackByClassName) {
  TPagedArrayOfDuree a(4, false, false);
  a.SetElementPosition(Duree(1.5), 1);
  TBinaryFormatter f;
  f.EcrireObjet(&a, nullptr);
  const auto& octets = static_cast<TMemoryStream*>(f.Flux())->Bytes();
  // The last 8 bytes: 1.5 as a double.
  EXPECT_EQ(std::vector<uint8_t>(octets.end() - 8, octets.end()), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
  TMemoryStream m;
  m.Assign(octets.data(), octets.size());
  TBinaryFormatter lecteur(&m);
  std::unique_ptr<TObject> lu(lecteur.LireObjet(nullptr));
  auto& duree = dynamic_cast<TPagedArrayOfDuree&>(*lu);
  EXPECT_EQ(duree.GetElementPosition(1).Valeur, 1.5);
  EXPECT_TRUE(duree.PositionVide(0));
}

TEST(ArrayOfDuree, TraceAndTextUseTheDebuggingText) {
  TArrayOfDuree a(4, false, false);
  a.Ajouter(Duree(std::numeric_limits<double>::infinity()));
  TCustomTraceur traceur("");
  std::string texte;
  a.TracerContenu(false, &traceur, texte);
  EXPECT_EQ(texte, "TypeDureeStockee\r\n  Valeur = + infini\r\n");
  TArrayOfDureeTraits::ElementEnTexte(Duree(0), texte);
  EXPECT_EQ(texte, "0");
}
