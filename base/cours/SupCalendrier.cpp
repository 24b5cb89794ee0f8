#include "base/cours/SupCalendrier.h"

#include <cstring>

#include "base/EcrGlobale.h"
#include "base/SupTraitement.h"
#include "base/ValeursUtilisateur.h"
#include "base/cours/SupCours.h"
#include "base/cours/SupFractionnementCours.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/matieres/SupRelationApportPeriode.h"
#include "core/objects/Exceptions.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/netmodif.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"

namespace SupCalendrier {

namespace {

using E = TypeEnregistrementCalendrier;

constexpr int64_t SemainesDe(int32_t Premiere, int32_t Derniere) {
  return static_cast<int64_t>(((uint64_t{1} << (Derniere + 1)) - 1) & ~((uint64_t{1} << Premiere) - 1));
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire(TypeDeclarationFichier{
      "SupCalendrier", ".CAL", 0x08, kPlace, kTailleStockee, false,
      {Identifiant(), Chaine("Libelle", 10, 0), Semaines("SemainesAnnee", 11).Vaut(SemainesDe(1, 52)),
       Semaines("SemainesPeriode1", 18).Vaut(SemainesDe(1, 13)), Semaines("SemainesPeriode2", 25).Vaut(SemainesDe(14, 26)),
       Semaines("SemainesPeriode3", 32).Vaut(SemainesDe(27, 39)), Semaines("SemainesPeriode4", 39).Vaut(SemainesDe(40, 52)),
       Octets("ZonePortee", 64, 46), Octet("OctetPorte", 110)},
      {{true, {{"Libelle", &Comparai::ComparerChaineCourte}}}, {false, {{"Identifiant", &Comparai::ComparerEntierBis}}}}});
  return d;
}

// The record number of the calendar a received deletion names, kept between the two routines.
uint32_t& CalendrierSupprime() {
  static uint32_t numero = 0;
  return numero;
}

class TFichierCalendriers final : public TFichierSup {
 public:
  TFichierCalendriers() : TFichierSup(DescriptionFichier(), &SupCalendrier::ContenuParDefaut) {
    AvantOrdre = [](uint8_t*, void* Table, int32_t, TypeGenreModif Genre) {
      CalendrierSupprime() = Genre == GM_Suppression ? Xi::NumeroCourant(Table) : 0;
    };
    // After a received deletion the freed record number is left nowhere: not as the remembered
    // calendar, not in the subject contribution relations.
    ApresOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
      const uint32_t supprime = CalendrierSupprime();
      CalendrierSupprime() = 0;
      if (Genre != GM_Suppression || !NetClient::OrdreApplique()) return;
      uint32_t& retenu = ValeursUtilisateur::Valeurs().Calendrier;
      if (retenu != 0 && !Fichier().Existe(retenu)) retenu = 0;
      if (supprime != 0) (void)SupRelationApportPeriode::EffacerCalendrierDesRelations(supprime);
    };
  }
};

}  // namespace

TFichierSup& Fichier() {
  static TFichierCalendriers fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

void ViderArticle() { Fichier().ViderArticle(); }
bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }

bool CreerCalendriersParDefaut() {
  return Fichier().ContenuParDefaut(kCodeCreerParDefaut, [] { (void)CreerCalendrier("", 0); });
}

bool ContenuParDefaut() { return CreerCalendriersParDefaut(); }

bool CreerCalendrier(const std::string& Libelle, uint32_t Modele) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return false;
  SupTraitement::TraitementEmpile code(kCodeCreerCalendrier);
  const std::string libelle = Libelle.substr(0, 10);
  if (NetClient::PasserParServeur()) {
    const int32_t modele = Modele == 0 ? 0 : f.IdentifiantDe(Modele);
    if (Modele != 0 && modele == 0) return false;
    uint8_t donnees[11] = {};
    FichierSup::EcrireChaineCourte(donnees, 10, libelle);
    const uint32_t precedent = Xi::NumeroCourant(f.Table);
    int32_t identifiant = 0;
    if (NetClient::EnvoyerRequeteServeur(kCodeCreerCalendrier, modele, sizeof donnees, donnees, false, &identifiant,
                                         sizeof identifiant) &&
        ChercherParIdentifiant(identifiant))
      return true;
    (void)Xi::AllerA(f.Table, precedent);
    return false;
  }
  if (Modele == 0) {
    ViderArticle();
  } else if (!Xi::AllerA(f.Table, Modele)) {
    return false;
  }
  // The copy is a record of its own: the model's identifier would name two calendars.
  Article()->Identifiant = 0;
  FichierSup::EcrireChaineCourte(Article()->Libelle, 10, libelle);
  return f.InsererLocalement();
}

}  // namespace SupCalendrier

// --- Session placement

namespace SupCalendrier {

namespace {

using D = TMethodesDomaine;

const TypeEnregistrementCours* Cours() { return SupCours::Article(); }
bool ExisteCours() {
  void* t = SupCours::Fichier().Table;
  return t != nullptr && Xi::NumeroCourant(t) != 0;
}

// Two placed fractions of the current course share a week.
bool FractionsPlaceesSeRecouvrent() {
  TypeDomaineHebdomadaire vues;
  bool recouvrent = false;
  (void)SupFractionnementCours::PourChaqueFractionDuCours(
      [&vues, &recouvrent] {
        const TypeEnregistrementCours* f = Cours();
        if (!SupCours::EstStatutPlace(f->Statut)) return false;
        recouvrent = D::SeRencontrent(vues, f->Semaines);
        vues = D::Union(vues, f->Semaines);
        return recouvrent;
      },
      false);
  return recouvrent;
}

bool TropPeuDeSemainesPotentielles() {
  return static_cast<uint32_t>(D::NombreDeSemaines(Cours()->SemainesPotentielles)) < Cours()->NombreSemaines;
}

[[noreturn]] void NonConstruit(const char* Operation) {
  throw ENonConstruit(std::string("SupCalendrier.") + Operation +
                      ": the local change of the session placement is not built yet");
}

}  // namespace

bool PlaceVariable() { return ExisteCours() && Cours()->ModePlace != 0; }

uint8_t PlacementSeances() {
  if (!ExisteCours()) return 0;
  return static_cast<uint8_t>((Cours()->SeancesMobiles != 0 ? 1 : 0) + (Cours()->ModePlace == 2 ? 1 : 0));
}

uint8_t PlacementsSeancesPermis() {
  if (!ExisteCours()) return 0;
  const TypeEnregistrementCours* c = Cours();
  uint8_t permis = 0;
  switch (c->ModePlace) {
    case 0:
      permis = 0b011;
      break;
    case 1:
      permis = 0b111;
      break;
    case 2:
      permis = TropPeuDeSemainesPotentielles() || FractionsPlaceesSeRecouvrent() ? 0 : 0b111;
      break;
    default:
      break;
  }
  c = Cours();
  if (c->SeancesMobiles != 0) {
    const bool autreNombre = static_cast<uint32_t>(D::NombreDeSemaines(c->SemainesPotentielles)) != c->NombreSemaines;
    const bool entierNonPlace = c->Genre == SupCours::kCoursEntier && !SupCours::EstStatutPlace(c->Statut) &&
                                (c->ModePlace == 2 || SupFractionnementCours::NombreFractionsNonPlacees() > 1);
    if (autreNombre || entierNonPlace) permis &= static_cast<uint8_t>(~1u);
  }
  return static_cast<uint8_t>(permis & ~(1u << PlacementSeances()));
}

bool ChangementPlacementPossible(bool A, uint8_t B) {
  if (!ExisteCours()) return false;
  if (A == PlaceVariable() && B == PlacementSeances()) return false;
  if (B == 2) return A;
  const TypeEnregistrementCours* c = Cours();
  if (c->ModePlace != 0 && !A && c->Genre != SupCours::kCoursSimple) return false;
  if (c->ModePlace == 2 && B != 2) {
    if (TropPeuDeSemainesPotentielles()) return false;
    return Cours()->Genre == SupCours::kCoursSimple || !FractionsPlaceesSeRecouvrent();
  }
  return true;
}

bool ValeurSoap(bool A, uint8_t B, int32_t& Valeur) {
  if (B > 2 || (!A && B == 2)) return false;
  Valeur = A ? 2 + B : B;
  return true;
}

bool PaireDeValeurSoap(int32_t Valeur, bool& A, uint8_t& B) {
  if (Valeur < 0 || Valeur > 4) return false;
  A = Valeur >= 2;
  B = static_cast<uint8_t>(A ? Valeur - 2 : Valeur);
  return true;
}

bool ModifierPlacementSeancesCours(bool A, uint8_t B) {
  if (!ExisteCours() || !SupDroitFonctionnel::DroitModifierCours() || Cours()->Genre == SupCours::kFraction) return false;
  // Nothing to change: done, nothing sent.
  if (A == PlaceVariable() && B == PlacementSeances()) return true;
  if (!ChangementPlacementPossible(A, B)) return false;
  SupTraitement::TraitementEmpile code(kCodeModifStatutPlace);
  if (NetClient::PasserParServeur()) {
    const uint8_t donnees[2] = {A, B};
    return NetClient::EnvoyerRequeteServeur(kCodeModifStatutPlace, SupCours::Fichier().IdentifiantCourant(), 2, donnees,
                                            false, nullptr);
  }
  NonConstruit("ModifierPlacementSeancesCours");
}

bool ModifierPlaceVariable(bool A) {
  if (!ExisteCours() || Cours()->Genre == SupCours::kFraction || PlaceVariable() == A) return false;
  if (Cours()->ModePlace == 2 && (PlacementsSeancesPermis() & 1) == 0) return false;
  SupTraitement::TraitementEmpile code(kCodeFractionnement);
  if (NetClient::PasserParServeur()) {
    const uint8_t donnee = A;
    return NetClient::EnvoyerRequeteServeur(kCodeFractionnement, SupCours::Fichier().IdentifiantCourant(), 1, &donnee,
                                            false, nullptr);
  }
  NonConstruit("ModifierPlaceVariable");
}

bool ModifierMobiliteSeances(uint8_t B) {
  if (!ExisteCours() || Cours()->Genre == SupCours::kFraction || B > 2 || (PlacementsSeancesPermis() >> B & 1) == 0)
    return false;
  SupTraitement::TraitementEmpile code(kCodeModificationMobilite);
  if (NetClient::PasserParServeur())
    return NetClient::EnvoyerRequeteServeur(kCodeModificationMobilite, SupCours::Fichier().IdentifiantCourant(), 1, &B,
                                            false, nullptr);
  NonConstruit("ModifierMobiliteSeances");
}

bool DetachementPossible(const TypeDomaineHebdomadaire& S, uint32_t N) {
  if (!ExisteCours() || N == 0) return false;
  const TypeEnregistrementCours* c = Cours();
  const bool mode2 = c->ModePlace == 2;
  if (D::EstVide(S) && !mode2) return false;
  const TypeDomaineHebdomadaire& reference =
      c->SeancesMobiles != 0 && !SupCours::EstStatutPlace(c->Statut) ? c->SemainesPotentielles : c->Semaines;
  if (!mode2 && !D::SeRencontrent(S, reference)) return false;
  if (!mode2 && D::EstInclus(reference, S)) return false;
  return N < c->NombreSemaines;
}

bool DetacherSeances(const TypeDomaineHebdomadaire& S, uint32_t N, std::array<uint32_t, 2>& Resultat) {
  Resultat = {0, 0};
  if (!ExisteCours()) return false;
  const TypeEnregistrementCours* c = Cours();
  const TypeDomaineHebdomadaire d = D::Intersection(S, c->SemainesPotentielles);
  uint32_t nombre = 0;
  if (c->SeancesMobiles != 0 && SupCours::EstStatutPlace(c->Statut)) {
    nombre = static_cast<uint32_t>(D::NombreDeSemaines(D::Intersection(S, c->Semaines)));
  } else if (c->SeancesMobiles != 0) {
    const auto n = static_cast<uint32_t>(D::NombreDeSemaines(d));
    nombre = n >= N ? N : n;
  } else {
    nombre = static_cast<uint32_t>(D::NombreDeSemaines(d));
  }
  if (D::EstVide(d) || !DetachementPossible(d, nombre)) return false;
  SupTraitement::TraitementEmpile code(kCodeDetacherSeances);
  if (NetClient::PasserParServeur()) {
    uint8_t donnees[12] = {};
    std::memcpy(donnees, d.Octets.data(), 7);
    std::memcpy(donnees + 8, &nombre, 4);
    int32_t reponse[2] = {0, 0};
    if (NetClient::EnvoyerRequeteServeur(kCodeDetacherSeances, SupCours::Fichier().IdentifiantCourant(), sizeof donnees,
                                         donnees, false, reponse, sizeof reponse))
      for (std::size_t i = 0; i < 2; ++i)
        Resultat[i] = reponse[i] > 0 ? SupCours::Fichier().NumeroDeIdentifiant(reponse[i]) : 0;
    // The caller stays on the course whose sessions were detached; the server's orders bring the
    // new course.
    return false;
  }
  NonConstruit("DetacherSeances");
}

}  // namespace SupCalendrier
