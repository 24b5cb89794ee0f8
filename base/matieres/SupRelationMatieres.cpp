#include "base/matieres/SupRelationMatieres.h"

#include <cstring>
#include <vector>

#include "base/EcrGlobale.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/matieres/SupMatiere.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/netmodif.h"

namespace SupRelationMatieres {

namespace {

using E = TypeEnregistrementRelationMatieres;

// Bases before this version store subject record numbers; from it on, subject identifiers.
constexpr TypeVersionFormat kVersionIdentifiants = {4, 0, 99, 0};

uint32_t Lire32(const uint8_t* s) {
  uint32_t v;
  std::memcpy(&v, s, 4);
  return v;
}

bool MatiereExiste(uint32_t Matiere) { return Matiere != 0 && SupMatiere::IdentifiantDe(Matiere) != 0; }

// Record numbers: a relation naming a record that holds no subject is kept with both subjects 0.
bool LireNumeros(TFichierSup&, const uint8_t* s, TypeGenreModif) {
  E* e = Article();
  const uint32_t premiere = Lire32(s), seconde = Lire32(s + 4);
  const bool valide = MatiereExiste(premiere) && MatiereExiste(seconde);
  e->Premiere = valide ? premiere : 0;
  e->Seconde = valide ? seconde : 0;
  return true;
}

// Identifiers: a relation naming a missing subject is dropped.
bool LireIdentifiants(TFichierSup&, const uint8_t* s, TypeGenreModif) {
  E* e = Article();
  e->Premiere = SupMatiere::ArticleDeIdentifiant(static_cast<int32_t>(Lire32(s)));
  e->Seconde = SupMatiere::ArticleDeIdentifiant(static_cast<int32_t>(Lire32(s + 4)));
  return e->Premiere != 0 && e->Seconde != 0;
}

bool Ecrire(TFichierSup&, uint8_t* s) {
  const E* e = Article();
  const int32_t premiere = SupMatiere::IdentifiantDe(e->Premiere), seconde = SupMatiere::IdentifiantDe(e->Seconde);
  std::memcpy(s, &premiere, 4);
  std::memcpy(s + 4, &seconde, 4);
  return premiere != 0 && seconde != 0;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupRelationMatieres", ".RLM", 0x0F, kPlace, kTailleStockee, false,
      {Identifiant(), Reference("Premiere", SupMatiere::kPlace, 0), Reference("Seconde", SupMatiere::kPlace, 4)},
      {{true, {{"Premiere", &Comparai::ComparerCardinal}, {"Seconde", &Comparai::ComparerCardinal}}},
       {true, {{"Seconde", &Comparai::ComparerCardinal}, {"Premiere", &Comparai::ComparerCardinal}}},
       {false, {"Identifiant"}}},
      &LireIdentifiants, &Ecrire, nullptr, {{kTailleStockee, kVersionIdentifiants, &LireNumeros}}});
  return d;
}

void* Table() { return Fichier().Table; }

// Adds to Numeros the record numbers of the relations whose subject in that order's first column is
// Matiere, in the order's sequence.
std::vector<uint32_t> Collecter(int32_t Ordre, uint32_t Matiere, std::vector<uint32_t> Numeros = {}) {
  E* e = Article();
  e->Premiere = e->Seconde = Matiere;
  if (Ordre == kOrdrePremiere) e->Seconde = 0;
  else e->Premiere = 0;
  for (bool encore = Xi::Chercher(Table(), Ordre) != 0 && Xi::XiStatut != Xi::kStatutAucun; encore;
       encore = Xi::Suivant(Table(), Ordre)) {
    if ((Ordre == kOrdrePremiere ? e->Premiere : e->Seconde) != Matiere) break;
    Numeros.push_back(Xi::NumeroCourant(Table()));
  }
  return Numeros;
}

// Inserts (A, B) locally and notifies it.
bool InsererLocalement(uint32_t A, uint32_t B) {
  Fichier().ViderArticle();
  Article()->Premiere = A;
  Article()->Seconde = B;
  if (!Xi::Inserer(Table())) return false;
  netmodif::NotifierModification(GM_Creation, Fichier().NumeroTable(), 0);
  return true;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &CreerRelationsMatieresParDefaut);
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

void ViderArticle() { Fichier().ViderArticle(); }
bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }
bool CreerRelationsMatieresParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerParDefaut); }

bool CreerRelationMatieres(uint32_t MatiereA, uint32_t MatiereB) {
  SupTraitement::TraitementEmpile code(kCodeCreerRelation);
  SupMatiere::EmpilerPosition();
  bool resultat = false;
  if (NetClient::PasserParServeur()) {
    const int32_t donnees[2] = {SupMatiere::IdentifiantDe(MatiereA), SupMatiere::IdentifiantDe(MatiereB)};
    int32_t identifiant = 0;
    if (donnees[0] != 0 && donnees[1] != 0 &&
        NetClient::EnvoyerRequeteServeur(kCodeCreerRelation, 0, sizeof donnees, donnees, false, &identifiant,
                                         sizeof identifiant))
      resultat = ChercherParIdentifiant(identifiant);
  } else if (Table() != nullptr) {
    resultat = InsererLocalement(MatiereA, MatiereB);
    if (MatiereA != MatiereB) resultat = InsererLocalement(MatiereB, MatiereA) && resultat;
    EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales());
  }
  SupMatiere::DepilerPosition();
  return resultat;
}

bool SupprimerRelationMatieres() {
  const bool verdict = Fichier().Supprimer(kCodeSupprimerRelation);
  return NetClient::PasserParServeur() && verdict;
}

bool SupprimerRelationsMatieresDeMatiere(uint32_t Matiere) {
  SupTraitement::TraitementEmpile code(kCodeSupprimerRelationsDeMatiere);
  SupMatiere::EmpilerPosition();
  bool resultat = false;
  if (NetClient::PasserParServeur()) {
    const int32_t identifiant = SupMatiere::IdentifiantDe(Matiere);
    resultat = NetClient::EnvoyerRequeteServeur(kCodeSupprimerRelationsDeMatiere, 0, sizeof identifiant,
                                                &identifiant, false, nullptr);
  } else if (Table() != nullptr && SupMatiere::Fichier().Existe(Matiere)) {
    EmpilerPosition();
    const std::vector<uint32_t> numeros = Collecter(kOrdreSeconde, Matiere, Collecter(kOrdrePremiere, Matiere));
    for (uint32_t n : numeros)
      if (Xi::AllerA(Table(), n)) (void)SupprimerRelationMatieres();
    DepilerPosition();
    resultat = true;
  }
  SupMatiere::DepilerPosition();
  return resultat;
}

bool RelationMatieresExiste(uint32_t MatiereA, uint32_t MatiereB) {
  if (Table() == nullptr) return false;
  if (MatiereA == MatiereB) {
    TFichierSup& matieres = SupMatiere::Fichier();
    matieres.EmpilerPosition();
    const bool limitee = Xi::AllerA(matieres.Table, MatiereA) && SupMatiere::Article()->MaxHeuresJour != 0;
    (void)matieres.DepilerPosition();
    if (limitee) return false;
  }
  EmpilerPosition();
  Article()->Premiere = MatiereA;
  Article()->Seconde = MatiereB;
  const bool existe = Xi::Trouver(Table(), kOrdrePremiere);
  DepilerPosition();
  return existe;
}

int32_t PourChaqueRelationDeLaMatiereCourante(const std::function<int32_t()>& Routine) {
  TFichierSup& matieres = SupMatiere::Fichier();
  if (Table() == nullptr || matieres.Table == nullptr) return 0;
  const uint32_t matiere = Xi::NumeroCourant(matieres.Table);
  if (matiere == 0) return 0;
  EmpilerPosition();
  const std::vector<uint32_t> numeros = Collecter(kOrdreSeconde, matiere, Collecter(kOrdrePremiere, matiere));
  int32_t resultat = 0;
  for (uint32_t n : numeros)
    if (Xi::AllerA(Table(), n) && (resultat = Routine()) != 0) break;
  DepilerPosition();
  return resultat;
}

}  // namespace SupRelationMatieres
