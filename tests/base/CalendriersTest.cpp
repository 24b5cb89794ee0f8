// Calendars: the cleared calendar, the local creations (default, from a model, a duplicate label)
// and the bytes of both requests.
#include <string>

#include "RessourcesEssai.h"
#include "base/cours/SupCalendrier.h"
#include "core/records/Xi.h"

namespace {

using namespace RessourcesEssai;
namespace CAL = SupCalendrier;

TypeDomaineHebdomadaire S(int a, int b) {
  TypeDomaineHebdomadaire d;
  for (int w = a; w <= b; ++w) d.Inclure(w);
  return d;
}

// The fixture's calendars "Annee" (1, identifier 111) and "Semestre" (2, 222).
class Calendriers : public BaseRessources {
 protected:
  static void* Table() { return CAL::Fichier().Table; }
  static std::string Libelle() { return FichierSup::LireChaineCourte(CAL::Article()->Libelle, 10); }
};

TEST_F(Calendriers, ACreatedCalendarIsClearedOrCopiedWithIdentifierZeroAndAUniqueLabel) {
  client_.Exclusif = true;
  EXPECT_EQ(CAL::Fichier().Description().TailleEnregistrement, sizeof(TypeEnregistrementCalendrier));
  ASSERT_TRUE(CAL::CreerCalendrier("Trimestres du lycee", 0));
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  const TypeEnregistrementCalendrier c = *CAL::Article();
  EXPECT_EQ(Libelle(), "Trimestres");
  EXPECT_EQ(c.Identifiant, 0);
  EXPECT_EQ(c.SemainesAnnee, S(1, 52));
  EXPECT_EQ(c.SemainesPeriodes, (std::array{S(1, 13), S(14, 26), S(27, 39), S(40, 52)}));
  // From a model: its weeks and carried zone, identifier 0.
  ASSERT_TRUE(CAL::ChercherParIdentifiant(222));
  CAL::Article()->SemainesAnnee = S(3, 9);
  CAL::Article()->ZonePortee[5] = 0x55;
  ASSERT_TRUE(Xi::Modifier(Table()));
  ASSERT_TRUE(CAL::CreerCalendrier("Copie", 2));
  EXPECT_EQ(Libelle(), "Copie");
  EXPECT_EQ(CAL::Article()->Identifiant, 0);
  EXPECT_EQ(CAL::Article()->SemainesAnnee, S(3, 9));
  EXPECT_EQ(CAL::Article()->ZonePortee[5], 0x55);
  EXPECT_EQ(Xi::Nombre(Table()), 4u);
  // A label another calendar has, or a model that does not exist: refused.
  EXPECT_FALSE(CAL::CreerCalendrier("Copie", 0));
  EXPECT_FALSE(CAL::CreerCalendrier("Autre", 9));
  EXPECT_EQ(Xi::Nombre(Table()), 4u);
  // The default contents: one calendar with an empty label.
  EXPECT_TRUE(CAL::ContenuParDefaut());
  EXPECT_EQ(Libelle(), "");
  EXPECT_EQ(Xi::Nombre(Table()), 5u);
}

TEST_F(Calendriers, RequestsSendTheLabelAndTheModelsIdentifier) {
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    if (r.Code != CAL::kCodeCreerCalendrier) return true;
    const int32_t nouveau = r.Parametre == 0 ? 333 : 999;  // 999 names no calendar
    if (nouveau == 333) {
      Octets c(111, 0);
      PoserChaine(c, 0, "Nouveau", 10);
      Recevoir(OrdreRecu(GM_Creation, kCAL, nouveau, c));
    }
    std::memcpy(reponse, &nouveau, 4);
    return true;
  };
  ASSERT_TRUE(CAL::ChercherParIdentifiant(222));
  EXPECT_TRUE(CAL::CreerCalendrier("Nouveau calendrier", 0));
  EXPECT_EQ(CAL::Fichier().IdentifiantCourant(), 333);
  // Accepted but not found: the former current calendar again.
  ASSERT_TRUE(CAL::ChercherParIdentifiant(222));
  EXPECT_FALSE(CAL::CreerCalendrier("X", 1));
  EXPECT_EQ(CAL::Fichier().IdentifiantCourant(), 222);
  // A model that does not exist sends nothing.
  EXPECT_FALSE(CAL::CreerCalendrier("Y", 9));
  EXPECT_TRUE(CAL::CreerCalendriersParDefaut());
  ASSERT_EQ(client_.Envoyees.size(), 3u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80080100u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[0].Donnees, Chaine("Nouveau ca", 10));
  EXPECT_EQ(client_.Envoyees[1].Parametre, 111);
  EXPECT_EQ(client_.Envoyees[1].Donnees, Chaine("X", 10));
  EXPECT_EQ(client_.Envoyees[2].Code, 0x80080000u);
  EXPECT_EQ(client_.Envoyees[2].Parametre, 0);
  EXPECT_TRUE(client_.Envoyees[2].Donnees.empty());
}

}  // namespace
