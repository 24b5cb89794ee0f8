#include "base/SupParco.h"

#include <cstring>
#include <vector>

#include "base/cours/SupCours.h"
#include "base/fichiers/SupRelationCours.h"
#include "base/ressources/SupPartition.h"
#include "base/ressources/SupRelationRessource.h"
#include "base/ressources/SupRessource.h"
#include "platform/ui/VCLTimer.h"

namespace SupParco {

namespace {

using D = TMethodesDomaine;
using ER = TypeEnregistrementRelationCours;

TFichierSup& Relations() { return SupRelationCours::Fichier(); }
TFichierSup& Cours() { return SupCours::Fichier(); }
TFichierSup& Ressources() { return SupRessource::Fichier(); }
uint32_t Courant(const TFichierSup& f) { return f.Table != nullptr ? Xi::NumeroCourant(f.Table) : 0; }

// Saves the flag and the positions of the given tables; restores them when the scope ends, an
// exception included.
class TEtatSauve {
 public:
  explicit TEtatSauve(std::initializer_list<TFichierSup*> Fichiers) : drapeau_(SalleMultipleCourante()) {
    for (TFichierSup* f : Fichiers)
      if (f->Table != nullptr) {
        f->EmpilerPosition();
        fichiers_.push_back(f);
      }
  }
  ~TEtatSauve() {
    for (auto f = fichiers_.rbegin(); f != fichiers_.rend(); ++f) (void)(*f)->DepilerPosition();
    SalleMultipleCourante() = drapeau_;
  }
  TEtatSauve(const TEtatSauve&) = delete;
  TEtatSauve& operator=(const TEtatSauve&) = delete;

 private:
  bool drapeau_;
  std::vector<TFichierSup*> fichiers_;
};

// What the walks read of a relation, gathered before the first call.
struct TypeRelation {
  uint32_t Numero, Ressource, Cours;
  uint8_t Genre;
  TypeDomaineHebdomadaire Semaines;
};

// The relations walked in an order of ".RLC" from the key that Poser writes, while Garder holds.
template <typename Poser, typename Garder>
std::vector<TypeRelation> Rassembler(int32_t Ordre, Poser poser, Garder garder) {
  std::vector<TypeRelation> relations;
  TFichierSup& f = Relations();
  if (f.Table == nullptr) return relations;
  ER* e = SupRelationCours::Article();
  f.EmpilerPosition();
  std::memset(static_cast<void*>(e), 0, sizeof(ER));
  poser(*e);
  bool encore = Xi::Chercher(f.Table, Ordre) != 0 && Xi::XiStatut != Xi::kStatutAucun;
  for (; encore && garder(*e); encore = Xi::Suivant(f.Table, Ordre))
    relations.push_back({Xi::NumeroCourant(f.Table), e->Ressource, e->Cours, e->Genre, e->Semaines});
  (void)f.DepilerPosition();
  return relations;
}

bool EstSalleMultiple(uint32_t Ressource) {
  TFichierSup& f = Ressources();
  return SupRessource::GenreDeLaRessource(Ressource) == SupRessource::kSalle &&
         f.ValeurDe(Ressource, offsetof(TypeEnregistrementRessource, MotA)) > 1;
}

}  // namespace

bool& SalleMultipleCourante() {
  static bool salleMultiple = false;
  return salleMultiple;
}

void Initialiser() { SalleMultipleCourante() = false; }

bool PourChaqueCoursDeLaRessource(TypeRoutineParco Routine, intptr_t Donnee, bool ChaqueRelation, bool Toujours,
                                  bool InclureSansSemaine, const TypeDomaineHebdomadaire& Semaines) {
  TAppelRoutine appel(Routine);
  TypeMethodeXi methode;
  appel.CommeMethode(methode);
  return PourChaqueCoursDeLaRessourceMethode(Donnee, ChaqueRelation, Toujours, Semaines, InclureSansSemaine, methode);
}

bool PourChaqueCoursDeLaRessourceMethode(intptr_t Donnee, bool ChaqueRelation, bool Toujours,
                                         const TypeDomaineHebdomadaire& Semaines, bool InclureSansSemaine,
                                         TypeMethodeXi Methode) {
  if (!Toujours && !InclureSansSemaine && D::EstVide(Semaines)) return false;
  const uint32_t ressource = Courant(Ressources());
  if (ressource == 0 || Relations().Table == nullptr || Cours().Table == nullptr || !Methode) return false;
  TEtatSauve etat({&Relations(), &Cours(), &Ressources()});
  const bool multiple = SupRessource::EstGroupeDeSalles();
  SalleMultipleCourante() = multiple;
  const std::vector<TypeRelation> relations = Rassembler(
      SupRelationCours::kOrdreRessourceCours, [ressource](ER& e) { e.Ressource = ressource; },
      [ressource](const ER& e) { return e.Ressource == ressource; });
  bool resultat = false;
  for (std::size_t i = 0; i < relations.size() && !resultat; ++i) {
    if (!Xi::AllerA(Relations().Table, relations[i].Numero) || SupRelationCours::Article()->Ressource != ressource)
      continue;
    TypeDomaineHebdomadaire w = SupRelationCours::Article()->Semaines;
    const uint32_t cours = SupRelationCours::Article()->Cours;
    uint32_t derniere = relations[i].Numero;
    if (multiple && !ChaqueRelation) {
      // The relations of one course follow each other in order 1: one visit with their weeks united.
      while (i + 1 < relations.size() && relations[i + 1].Cours == cours) {
        ++i;
        w = D::Union(w, relations[i].Semaines);
        derniere = relations[i].Numero;
      }
      if (!Xi::AllerA(Relations().Table, derniere)) continue;
    }
    if (!Toujours && !D::SeRencontrent(w, Semaines) && !(InclureSansSemaine && D::EstVide(w))) continue;
    if (!Xi::AllerA(Cours().Table, cours)) continue;
    SalleMultipleCourante() = multiple;
    if (Toujours || D::SeRencontrent(SupCours::Article()->Semaines, D::Intersection(w, Semaines)))
      resultat = Methode(Donnee);
    (void)Xi::AllerA(Ressources().Table, ressource);
  }
  return resultat;
}

bool PourChaqueRessourceDuCours(TypeRoutineParco Routine, intptr_t Donnee, bool ChaqueRelation, bool Toujours,
                                const TypeDomaineHebdomadaire& Semaines) {
  if (!Toujours && D::EstVide(Semaines)) return false;
  const uint32_t cours = Courant(Cours());
  if (cours == 0 || Relations().Table == nullptr || Ressources().Table == nullptr || Routine == nullptr) return false;
  TEtatSauve etat({&Relations(), &Cours(), &Ressources()});
  const std::vector<TypeRelation> relations = Rassembler(
      SupRelationCours::kOrdreCoursGenre, [cours](ER& e) { e.Cours = cours; },
      [cours](const ER& e) { return e.Cours == cours; });
  std::vector<const TypeRelation*> visites;
  for (std::size_t i = 0; i < relations.size(); ++i) {
    const TypeRelation& r = relations[i];
    if (!Toujours && !D::SeRencontrent(r.Semaines, Semaines)) continue;
    if (!EstSalleMultiple(r.Ressource)) {
      visites.push_back(&r);
      continue;
    }
    // A multiple room: the run of its relations in this course, taken together.
    if (ChaqueRelation) visites.push_back(&r);
    while (i + 1 < relations.size() && relations[i + 1].Ressource == r.Ressource) {
      ++i;
      if (ChaqueRelation) visites.push_back(&relations[i]);
    }
    if (!ChaqueRelation) visites.push_back(&relations[i]);
  }
  bool resultat = false;
  for (const TypeRelation* r : visites) {
    if (!Xi::AllerA(Relations().Table, r->Numero) || !Xi::AllerA(Ressources().Table, r->Ressource)) continue;
    SalleMultipleCourante() = SupRessource::EstGroupeDeSalles();
    resultat = Routine(Donnee);
    (void)Xi::AllerA(Cours().Table, cours);
    if (resultat) break;
  }
  return resultat;
}

bool PourChaqueRessourceDuGenreDuCours(uint8_t Genre, TypeRoutineParco Routine, intptr_t Donnee, bool Toujours,
                                       const TypeDomaineHebdomadaire& Semaines) {
  const uint32_t cours = Courant(Cours());
  if (cours == 0 || Relations().Table == nullptr || Ressources().Table == nullptr || Routine == nullptr) return false;
  TEtatSauve etat({&Relations(), &Cours(), &Ressources()});
  const std::vector<TypeRelation> relations = Rassembler(
      SupRelationCours::kOrdreCoursGenre,
      [cours, Genre](ER& e) {
        e.Cours = cours;
        e.Genre = Genre;
      },
      [cours, Genre](const ER& e) { return e.Cours == cours && e.Genre == Genre; });
  bool resultat = false;
  for (std::size_t i = 0; i < relations.size() && !resultat; ++i) {
    const TypeRelation& r = relations[i];
    if (!Xi::AllerA(Ressources().Table, r.Ressource)) continue;
    if (!Toujours && !D::SeRencontrent(r.Semaines, Semaines)) continue;
    const bool multiple = SupRessource::EstGroupeDeSalles();
    SalleMultipleCourante() = multiple;
    std::size_t visitee = i;
    if (multiple)
      while (visitee + 1 < relations.size() && relations[visitee + 1].Ressource == r.Ressource) ++visitee;
    if (!Xi::AllerA(Relations().Table, relations[visitee].Numero)) continue;
    resultat = Routine(Donnee);
  }
  return resultat;
}

bool PourChaqueCoursDeLaSalleOuDuGroupeDeSalles(TypeRoutineParco Routine, intptr_t Donnee, bool ChaqueRelation,
                                                bool Toujours, bool InclureSansSemaine,
                                                const TypeDomaineHebdomadaire& Semaines) {
  if (!Toujours && !InclureSansSemaine && D::EstVide(Semaines)) return false;
  const uint32_t salle = Courant(Ressources());
  if (salle == 0) return false;
  TEtatSauve etat({&Ressources()});
  TypeEnregistrementRessource* e = SupRessource::Article();
  std::memset(static_cast<void*>(e), 0, sizeof *e);
  e->Genre = SupRessource::kSalle;
  const std::vector<uint32_t> salles = Ressources().NumerosDepuisCle(
      SupRessource::kOrdreGenre, [e] { return e->Genre == SupRessource::kSalle; });
  bool resultat = false;
  for (uint32_t s : salles) {
    if (!Xi::AllerA(Ressources().Table, s)) continue;
    if (s != salle && SupRelationRessource::GroupeDeSallesDeLaRessourceCourante() != salle) continue;
    resultat = PourChaqueCoursDeLaRessource(Routine, Donnee, ChaqueRelation, Toujours, InclureSansSemaine, Semaines);
    if (resultat) break;
  }
  (void)Xi::AllerA(Ressources().Table, salle);
  return resultat;
}

bool PourChaqueSalleDuGroupe(TypeRoutineParco Routine, intptr_t Donnee) {
  TFichierSup& rlr = SupRelationRessource::Fichier();
  const uint32_t groupe = Courant(Ressources());
  if (groupe == 0 || rlr.Table == nullptr || Routine == nullptr) return false;
  const SupRelationRessource::TypeChampsRelation& c = SupRelationRessource::Champs();
  TEtatSauve etat({&rlr, &Ressources()});
  uint8_t* e = rlr.Enregistrement();
  const auto lire = [e](int32_t decalage) {
    uint32_t v;
    std::memcpy(&v, e + decalage, 4);
    return v;
  };
  rlr.ViderArticle();
  e[c.Genre1] = SupRessource::kSalle;
  std::memcpy(e + c.Ressource1, &groupe, 4);
  e[c.Genre2] = SupRessource::kSalle;
  const std::vector<uint32_t> liens = rlr.NumerosDepuisCle(SupRelationRessource::kOrdreContenant, [&] {
    return e[c.Genre1] == SupRessource::kSalle && lire(c.Ressource1) == groupe && e[c.Genre2] == SupRessource::kSalle;
  });
  bool resultat = false;
  for (uint32_t l : liens) {
    if (!Xi::AllerA(rlr.Table, l)) continue;
    const uint32_t salle = lire(c.Ressource2);
    if (salle == groupe || !Xi::AllerA(Ressources().Table, salle)) continue;
    resultat = Routine(Donnee);
    (void)Xi::AllerA(rlr.Table, l);
    if (resultat) break;
  }
  return resultat;
}

bool PourChaquePartitionDuDiplome(uint8_t Genre, TypeRoutineParco Routine, intptr_t Donnee) {
  TFichierSup& partitions = SupPartition::Fichier();
  const TypeEnregistrementRessource* r = SupRessource::Article();
  if (r == nullptr || r->Genre != SupRessource::kDiplome || partitions.Table == nullptr || Routine == nullptr)
    return false;
  if (Genre != SupRessource::kTD && Genre != SupRessource::kOption) return false;
  const uint32_t diplome = Courant(Ressources());
  TEtatSauve etat({&partitions, &Ressources()});
  TypeEnregistrementPartition* p = SupPartition::Article();
  std::memset(static_cast<void*>(p), 0, sizeof *p);
  p->Diplome = diplome;
  // The length byte of the name tells the default partition (empty name, that of the options)
  // from the named ones (those of the TDs).
  const std::vector<uint32_t> candidates =
      partitions.NumerosDepuisCle(SupPartition::kOrdreDiplomeNom, [p, diplome] { return p->Diplome == diplome; });
  std::vector<uint32_t> retenues;
  for (uint32_t n : candidates) {
    if (!Xi::AllerA(partitions.Table, n)) continue;
    if ((p->Nom[0] == 0) == (Genre == SupRessource::kOption)) retenues.push_back(n);
  }
  bool resultat = false;
  for (uint32_t n : retenues)
    if (Xi::AllerA(partitions.Table, n) && (resultat = Routine(Donnee))) break;
  return resultat;
}

uint32_t NombreDeRessourcesDuCours() {
  uint32_t nombre = 0;
  (void)PourChaqueRessourceDuCours(
      [](intptr_t n) {
        ++*reinterpret_cast<uint32_t*>(n);
        return false;
      },
      reinterpret_cast<intptr_t>(&nombre), true, true, {});
  return nombre;
}

uint32_t NombreDeRessourcesDeLaPartition(uint32_t Partition) {
  TFichierSup& partitions = SupPartition::Fichier();
  if (partitions.Table == nullptr) return 0;
  TPositionSauvee position(partitions);
  if (!Xi::AllerA(partitions.Table, Partition)) return 0;
  uint32_t nombre = 0;
  (void)SupPartition::PourChaqueRessourceDeLaPartition([&nombre] {
    ++nombre;
    return false;
  });
  return nombre;
}

uint32_t NombreDeRessourcesDuGenre(uint8_t Genre, int32_t) {
  uint32_t nombre = 0;
  (void)SupRessource::PourChaqueRessourceDuGenre(Genre, [&nombre] {
    ++nombre;
    return 0;
  });
  return nombre;
}

}  // namespace SupParco
