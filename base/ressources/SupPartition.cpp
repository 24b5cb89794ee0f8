#include "base/ressources/SupPartition.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "base/CompteursNumeros.h"
#include "base/EcrGlobale.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupRessource.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/netmodif.h"

namespace SupPartition {

namespace {

using E = TypeEnregistrementPartition;
using CodeEmpile = SupTraitement::TraitementEmpile;

constexpr TypeVersionFormat kLimite300 = {3, 0, 0, 0}, kLimite408 = {4, 0, 8, 0};

void* Table() { return Fichier().Table; }

int32_t Lire32(const uint8_t* s) {
  int32_t v;
  std::memcpy(&v, s, 4);
  return v;
}

// The partition counter, compared as a signed value.
int32_t Compteur() { return static_cast<int32_t>(CompteursNumeros::Compteurs()[CompteursNumeros::kPRT]); }
void Relever(int32_t Numero) {
  if (Numero > Compteur()) CompteursNumeros::Compteurs()[CompteursNumeros::kPRT] = static_cast<uint32_t>(Numero);
}
int32_t NumeroSuivant() { return static_cast<int32_t>(static_cast<uint32_t>(Compteur()) + 1u); }

// The older layouts: the name (at most 15 characters fit its field), then the number (below 4.0.8
// only), the diploma's identifier and the colour. Below 3.0.0 a partition has no stored number: a new
// one takes the next number; a change keeps the number it has.
bool LireAncienne(const uint8_t* s, TypeGenreModif Genre, bool AvecNumero) {
  E* e = Article();
  const std::size_t decalage = AvecNumero ? 4 : 0;
  e->Diplome = SupRessource::Fichier().NumeroDeIdentifiant(Lire32(s + 16 + decalage));
  FichierSup::CopierChaineCourte(e->Nom, 30, s, 15);
  e->Couleur = static_cast<uint32_t>(Lire32(s + 20 + decalage));
  if (e->Diplome == 0) return false;
  if (AvecNumero) {
    e->Numero = Lire32(s + 16);
    Relever(e->Numero);
  } else if (Genre == GM_Creation) {
    e->Numero = NumeroSuivant();
    Relever(e->Numero);
  }
  return true;
}
bool LireAvant300(TFichierSup&, const uint8_t* s, TypeGenreModif Genre) { return LireAncienne(s, Genre, false); }
bool LireAvant408(TFichierSup&, const uint8_t* s, TypeGenreModif Genre) { return LireAncienne(s, Genre, true); }

// The current layout; its number raises the counter.
bool LireCourante(TFichierSup& f, const uint8_t* s, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(f, s, Genre)) return false;
  Relever(Article()->Numero);
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire(
      {"SupPartition",
       ".PRT",
       0x12,
       kPlace,
       kTailleStockee,
       false,
       {Identifiant(), Entier("Numero", 32), Chaine("Nom", 30, 0), Reference("Diplome", SupRessource::kPlace, 36),
        Cardinal("Couleur", 40)},
       {{true, {"Diplome", "Nom"}}, {false, {"Identifiant"}}, {false, {"Numero"}}},
       &LireCourante,
       nullptr,
       nullptr,
       {{kTailleStockeeAvant300, kLimite300, &LireAvant300}, {kTailleStockeeAvant408, kLimite408, &LireAvant408}}});
  return d;
}

// The partitions of a diploma in name order, the default one (empty name) first.
std::vector<uint32_t> PartitionsDuDiplome(uint32_t Diplome) {
  if (Table() == nullptr || Diplome == 0) return {};
  E* e = Article();
  e->Diplome = Diplome;
  FichierSup::EcrireChaineCourte(e->Nom, 30, std::string());
  return Fichier().NumerosDepuisCle(kOrdreDiplomeNom, [e, Diplome] { return e->Diplome == Diplome; });
}

std::vector<uint32_t> PartitionsNommees(uint32_t Diplome) {
  std::vector<uint32_t> nommees;
  for (uint32_t p : PartitionsDuDiplome(Diplome))
    if (Fichier().ValeurDe(p, offsetof(E, Nom)) & 0xFF) nommees.push_back(p);
  return nommees;
}

// The TDs and options whose partition number is Numero.
std::vector<uint32_t> RessourcesDeCle(int32_t Numero) {
  TFichierSup& ressources = SupRessource::Fichier();
  if (ressources.Table == nullptr) return {};
  TypeEnregistrementRessource* r = SupRessource::Article();
  r->NumeroPartition = Numero;
  FichierSup::EcrireChaineCourte(r->Nom, 30, std::string());
  std::vector<uint32_t> numeros;
  for (uint32_t n : ressources.NumerosDepuisCle(SupRessource::kOrdrePartition,
                                                [r, Numero] { return r->NumeroPartition == Numero; })) {
    const uint8_t genre = SupRessource::GenreDeLaRessource(n);
    if (genre == SupRessource::kTD || genre == SupRessource::kOption) numeros.push_back(n);
  }
  return numeros;
}

bool Visiter(TFichierSup& f, const std::vector<uint32_t>& Numeros, const TypeTraitement& Traitement) {
  return f.Visiter(Numeros, [&] { return Traitement() ? 1 : 0; }) != 0;
}

// A partition's TDs and options go with it through the resource deletion, which is not built yet: a
// partition that holds any cannot be deleted locally until it is. Checked before anything changes.
void SupprimerRessourcesDeLaPartition(int32_t Numero) {
  if (!RessourcesDeCle(Numero).empty())
    throw ENonConstruit("SupRessource.SupprimerRessource: the deletion of resources is not built yet");
}

// Colours the diploma of that record number (the resource table's position kept).
void RecolorerDiplome(uint32_t Diplome) {
  TFichierSup& ressources = SupRessource::Fichier();
  if (ressources.Table == nullptr) return;
  ressources.EmpilerPosition();
  if (Xi::AllerA(ressources.Table, Diplome)) RecolorerPartitionsDuDiplome();
  ressources.DepilerPosition();
}

class TFichierPartitions final : public TFichierSup {
 public:
  TFichierPartitions() : TFichierSup(DescriptionFichier(), &SupPartition::ContenuParDefaut) {}
};

}  // namespace

TFichierSup& Fichier() {
  static TFichierPartitions fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool ContenuParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerParDefaut); }

// --- Requests

bool CreerPartition(const std::string& Nom, uint32_t Diplome) {
  if (Table() == nullptr) return false;
  const std::string nom = Nom.substr(0, 30);
  CodeEmpile code(kCodeCreer);
  TFichierSup& ressources = SupRessource::Fichier();
  ressources.EmpilerPosition();
  const bool diplome = ressources.Table != nullptr && Xi::AllerA(ressources.Table, Diplome) &&
                       SupRessource::Article()->Genre == SupRessource::kDiplome &&
                       !SupRessource::EstRessourceParDefaut();
  const int32_t identifiantDiplome = diplome ? SupRessource::Article()->Identifiant : 0;
  ressources.DepilerPosition();
  if (!diplome) return false;
  uint8_t donnees[kTailleCreation] = {};
  FichierSup::EcrireChaineCourte(donnees, 30, nom);
  std::memcpy(donnees + 32, &identifiantDiplome, 4);
  const int32_t numero = NumeroSuivant();
  const bool cree = Fichier().Creer(kCodeCreer, donnees, kTailleCreation, [&] {
    Article()->Numero = numero;
    FichierSup::EcrireChaineCourte(Article()->Nom, 30, nom);
    Article()->Diplome = Diplome;
  });
  if (!cree || NetClient::PasserParServeur()) return cree;
  const uint32_t partition = Xi::NumeroCourant(Table());
  Relever(numero);
  RecolorerDiplome(Diplome);
  (void)Xi::AllerA(Table(), partition);
  return true;
}

bool SupprimerPartition() {
  if (Table() == nullptr) return false;
  Fichier().EmpilerPosition();
  const bool existe = Fichier().DepilerPosition();
  if (!existe) return false;
  const uint32_t diplome = Article()->Diplome;
  const int32_t numero = Article()->Numero;
  if (!NetClient::PasserParServeur()) SupprimerRessourcesDeLaPartition(numero);
  if (!Fichier().Supprimer(kCodeSupprimer)) return false;
  if (!NetClient::PasserParServeur()) {
    CodeEmpile code(kCodeSupprimer);
    RecolorerDiplome(diplome);
  }
  return true;
}

bool SupprimerPartitionNumero(uint32_t Partition) {
  if (Table() == nullptr) return false;
  Fichier().EmpilerPosition();
  try {
    if (Xi::AllerA(Table(), Partition)) (void)SupprimerPartition();
  } catch (...) {
    Fichier().DepilerPosition();
    throw;
  }
  Fichier().DepilerPosition();
  return !Fichier().Existe(Partition);
}

void SupprimerTableauDePartitions(const TypeEnsembleMemoire& Selection) {
  const std::vector<uint32_t> partitions(Selection.Elements, Selection.Elements + Selection.Nombre);
  for (uint32_t p : partitions) (void)SupprimerPartitionNumero(p);
}

void RecolorerPartitionsDuDiplome() {
  const TypeEnregistrementRessource* r = SupRessource::Article();
  if (Table() == nullptr || r == nullptr || r->Genre != SupRessource::kDiplome) return;
  const uint32_t diplome = Xi::NumeroCourant(SupRessource::Fichier().Table);
  std::vector<uint32_t> partitions = PartitionsNommees(diplome);
  if (const uint32_t defaut = PartitionParDefaut(diplome); defaut != 0) partitions.push_back(defaut);
  uint32_t couleur = kJaune;
  Fichier().EmpilerPosition();
  for (uint32_t p : partitions) {
    if (!Xi::AllerA(Table(), p)) continue;
    E* e = Article();
    if (e->Nom[0] == 0) {
      e->Couleur = kJaune;
      couleur = kBleuCanard;
    } else if (!RessourcesDeCle(e->Numero).empty()) {
      couleur = couleur == kBleuCanard ? kPourpre : kBleuCanard;
      e->Couleur = couleur;
    }
    if (Xi::Modifier(Table())) netmodif::NotifierModification(GM_Modification, Fichier().NumeroTable(), e->Identifiant);
  }
  Fichier().DepilerPosition();
}

// --- Reads

bool ChercherPartition(uint32_t Diplome, const std::string& Nom) {
  if (Table() == nullptr) return false;
  Article()->Diplome = Diplome;
  FichierSup::EcrireChaineCourte(Article()->Nom, 30, Nom);
  return Xi::Trouver(Table(), kOrdreDiplomeNom);
}

bool ChercherPartitionParDefaut(uint32_t Diplome) { return ChercherPartition(Diplome, std::string()); }

uint32_t PartitionParDefaut(uint32_t Diplome) {
  if (Table() == nullptr) return 0;
  Fichier().EmpilerPosition();
  const uint32_t partition = ChercherPartitionParDefaut(Diplome) ? Xi::NumeroCourant(Table()) : 0;
  Fichier().DepilerPosition();
  return partition;
}

bool ChercherPartitionParCle(int32_t Numero) {
  if (Table() == nullptr) return false;
  Article()->Numero = Numero;
  return Xi::Trouver(Table(), kOrdreNumero);
}

uint32_t PartitionDeCle(int32_t Numero) {
  if (Table() == nullptr) return 0;
  Fichier().EmpilerPosition();
  const uint32_t partition = ChercherPartitionParCle(Numero) ? Xi::NumeroCourant(Table()) : 0;
  Fichier().DepilerPosition();
  return partition;
}

int32_t ClePartition(uint32_t Partition) {
  if (Table() == nullptr) return 0;
  return static_cast<int32_t>(Fichier().ValeurDe(Partition, offsetof(E, Numero)));
}

bool PourChaquePartition(const TypeTraitement& Traitement) {
  if (Table() == nullptr) return false;
  return Visiter(Fichier(), Fichier().NumerosDepuisCle(0, [] { return true; }), Traitement);
}

bool PourChaquePartitionNommeeDuDiplome(uint32_t Diplome, const TypeTraitement& Traitement) {
  return Visiter(Fichier(), PartitionsNommees(Diplome), Traitement);
}

bool PourChaqueRessourceDeLaPartition(const TypeTraitement& Traitement) {
  if (Table() == nullptr || Xi::NumeroCourant(Table()) == 0) return false;
  return Visiter(SupRessource::Fichier(), RessourcesDeCle(Article()->Numero), Traitement);
}

bool AjouterAEnsemble(TypeEnsembleMemoire& Ensemble) {
  if (Table() != nullptr && Xi::NumeroCourant(Table()) != 0)
    (void)Memoire::Inserer(Xi::NumeroCourant(Table()), Ensemble);
  return false;
}

}  // namespace SupPartition
