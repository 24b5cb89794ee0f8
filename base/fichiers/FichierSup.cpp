#include "base/fichiers/FichierSup.h"

#include <algorithm>
#include <cstring>

#include "base/EcrGlobale.h"
#include "base/SupFichiers.h"
#include "base/SupTraitement.h"
#include "base/VerificateurNetXi.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"
#include "net/NetClient.h"
#include "net/netmodif.h"

bool Version::EstInferieureA(const TypeVersionFormat& a, const TypeVersionFormat& b, int Parties) {
  const uint32_t va[] = {a.Majeure, a.Mineure, a.Revision, a.Construction};
  const uint32_t vb[] = {b.Majeure, b.Mineure, b.Revision, b.Construction};
  for (int i = 0; i < std::clamp(Parties, 0, 4); ++i)
    if (va[i] != vb[i]) return va[i] < vb[i];
  return false;
}

namespace {

using CodeEmpile = SupTraitement::TraitementEmpile;

void MarquerBase() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }

}  // namespace

TFichierSup::TFichierSup(const TypeDescriptionFichier& Description, bool (*ContenuParDefaut)())
    : description_(Description), contenuParDefaut_(ContenuParDefaut) {}

TFichierSup::~TFichierSup() { LibererTable(); }

int32_t TFichierSup::IdentifiantCourant() const {
  int32_t identifiant = 0;
  if (Table != nullptr) std::memcpy(&identifiant, Table, 4);
  return identifiant;
}

void TFichierSup::ViderArticle() {
  if (Table == nullptr) return;
  std::memset(Table, 0, description_.TailleEnregistrement);
  for (const TypeChampFichier& c : description_.Champs) {
    if (c.Defaut == 0) continue;
    const auto valeur = static_cast<uint64_t>(c.Defaut);
    for (int32_t i = 0; i < std::min(c.Taille, 8); ++i)
      Enregistrement()[c.Decalage + i] = static_cast<uint8_t>(valeur >> (8 * i));
  }
  if (description_.Defauts != nullptr) description_.Defauts(Enregistrement());
}

bool TFichierSup::CreerTable() {
  LibererTable();
  const auto& ordres = description_.Ordres;
  Xi::Creer(Table, 0, static_cast<int32_t>(description_.TailleEnregistrement), static_cast<int32_t>(ordres.size()));
  if (Table == nullptr) return false;
  bool ok = true;
  for (std::size_t o = 0; o < ordres.size() && ok; ++o) {
    const auto numero = static_cast<int32_t>(o + 1);
    ok = Xi::DefinirOrdre(Table, numero, static_cast<int32_t>(ordres[o].Colonnes.size()), ordres[o].Unique);
    for (std::size_t c = 0; c < ordres[o].Colonnes.size() && ok; ++c) {
      const TypeColonneFichier& col = ordres[o].Colonnes[c];
      // A column that names no field of the record is refused with the table.
      ok = col.Comparaison != nullptr && Xi::DefinirColonne(Table, numero, static_cast<int32_t>(c + 1),
                                                            Enregistrement() + col.Decalage, col.Taille,
                                                            col.Comparaison);
    }
  }
  if (!ok) LibererTable();
  return ok;
}

void TFichierSup::LibererTable() {
  if (Table == nullptr) return;
  Xi::Detruire(Table);
  Table = nullptr;
}

void TFichierSup::Finaliser() {
  LibererTable();
  verificateur_.reset();
}

void TFichierSup::EmpilerPosition() { Xi::SauverPosition(Table); }

bool TFichierSup::DepilerPosition() { return Xi::RestaurerPosition(Table); }

bool TFichierSup::ChercherParIdentifiant(int32_t Identifiant) {
  if (Table == nullptr) return false;
  std::memcpy(Table, &Identifiant, 4);
  // Not found, the former record is current again.
  return Xi::Trouver(Table, description_.OrdreIdentifiant);
}

int32_t TFichierSup::IdentifiantDe(uint32_t NumeroArticle) {
  if (Table == nullptr) return 0;
  EmpilerPosition();
  const int32_t identifiant = Xi::AllerA(Table, NumeroArticle) ? IdentifiantCourant() : 0;
  DepilerPosition();
  return identifiant;
}

uint32_t TFichierSup::NumeroDeIdentifiant(int32_t Identifiant) {
  // A stored reference of 0 names no record, even while a record created locally holds identifier 0.
  if (Table == nullptr || Identifiant <= 0) return 0;
  EmpilerPosition();
  const uint32_t numero = ChercherParIdentifiant(Identifiant) ? Xi::NumeroCourant(Table) : 0;
  DepilerPosition();
  return numero;
}

uint32_t TFichierSup::NumeroDeCle(int32_t Ordre, uint32_t Cle) {
  if (Ordre == 0) return NumeroDeIdentifiant(static_cast<int32_t>(Cle));
  if (Table == nullptr || Cle == 0 || Ordre < 0 || static_cast<std::size_t>(Ordre) > description_.Ordres.size())
    return 0;
  const auto& colonnes = description_.Ordres[static_cast<std::size_t>(Ordre - 1)].Colonnes;
  if (colonnes.size() != 1 || colonnes.front().Taille != 4) return 0;
  EmpilerPosition();
  std::memcpy(Enregistrement() + colonnes.front().Decalage, &Cle, 4);
  Xi::Chercher(Table, Ordre);
  const uint32_t numero = Xi::XiStatut == Xi::kStatutEgal ? Xi::NumeroCourant(Table) : 0;
  DepilerPosition();
  return numero;
}

uint32_t TFichierSup::ValeurDe(uint32_t NumeroArticle, int32_t Decalage) {
  if (Table == nullptr) return 0;
  EmpilerPosition();
  uint32_t valeur = 0;
  if (Xi::AllerA(Table, NumeroArticle)) std::memcpy(&valeur, Enregistrement() + Decalage, 4);
  DepilerPosition();
  return valeur;
}

bool TFichierSup::Existe(uint32_t NumeroArticle) {
  if (Table == nullptr) return false;
  EmpilerPosition();
  const bool existe = Xi::AllerA(Table, NumeroArticle);
  DepilerPosition();
  return existe;
}

std::string TFichierSup::ChaineDe(uint32_t NumeroArticle, int32_t Decalage, int32_t Capacite) {
  if (Table == nullptr) return {};
  EmpilerPosition();
  std::string texte;
  if (Xi::AllerA(Table, NumeroArticle)) texte = FichierSup::LireChaineCourte(Enregistrement() + Decalage, Capacite);
  DepilerPosition();
  return texte;
}

std::vector<uint32_t> TFichierSup::NumerosDepuisCle(int32_t Ordre, const std::function<bool()>& Continuer) {
  std::vector<uint32_t> numeros;
  if (Table == nullptr) return numeros;
  EmpilerPosition();
  bool encore = Ordre == 0 ? Xi::Premier(Table, 0) : Xi::Chercher(Table, Ordre) != 0 && Xi::XiStatut != Xi::kStatutAucun;
  for (; encore && Continuer(); encore = Xi::Suivant(Table, Ordre)) numeros.push_back(Xi::NumeroCourant(Table));
  DepilerPosition();
  return numeros;
}

int32_t TFichierSup::Visiter(const std::vector<uint32_t>& Numeros, const std::function<int32_t()>& Routine) {
  if (Table == nullptr) return 0;
  int32_t resultat = 0;
  EmpilerPosition();
  try {
    for (uint32_t n : Numeros)
      if (Xi::AllerA(Table, n) && (resultat = Routine()) != 0) break;
  } catch (...) {
    DepilerPosition();
    throw;
  }
  DepilerPosition();
  return resultat;
}

bool TFichierSup::LireArticleStocke(std::size_t Disposition, const uint8_t* Stocke, int32_t Identifiant,
                                    TypeGenreModif Genre) {
  if (Genre == GM_Suppression) return true;
  if (Table == nullptr || Disposition >= description_.Dispositions.size()) return false;
  // A new record starts from the file's defaults; a changed one keeps what the layout does not hold.
  // A layout known but not read would misread every field: its records are refused.
  const TypeLireStocke lire = description_.Dispositions[Disposition].Lire;
  if (lire == nullptr) return false;
  if (Genre == GM_Creation) ViderArticle();
  std::memcpy(Table, &Identifiant, 4);
  return lire(*this, Stocke, Genre);
}

bool TFichierSup::EcrireArticleStocke(uint8_t* Stocke, uint32_t Taille, int32_t Identifiant, TypeGenreModif Genre) {
  if (Genre == GM_Suppression) return true;
  if (Table == nullptr || description_.Ecrire == nullptr) return false;
  std::memset(Stocke, 0, Taille);
  // The writer writes the current layout: an older, smaller buffer cannot hold it.
  if (Taille < description_.Dispositions.back().Taille) return false;
  const bool ok = description_.Ecrire(*this, Stocke);
  std::memcpy(Table, &Identifiant, 4);
  return ok;
}

std::size_t TFichierSup::DispositionPour(const TypeVersionFormat& VersionBase, bool BaseAnterieure506) const {
  const std::size_t courante = description_.Dispositions.size() - 1;
  if (!BaseAnterieure506) return courante;
  for (std::size_t d = 0; d < courante; ++d)
    if (Version::EstInferieureA(VersionBase, description_.Dispositions[d].Limite)) return d;
  return courante;
}

bool TFichierSup::DispositionLue(const TypeVersionFormat& VersionBase, bool BaseAnterieure506) const {
  return description_.Dispositions[DispositionPour(VersionBase, BaseAnterieure506)].Lire != nullptr;
}

int32_t TFichierSup::InscrireFichier() {
  const std::size_t d = DispositionPour(SupFichiers::VersionBase(), NetBases::BaseAnterieure506());
  const TypeDispositionStockee& disposition = description_.Dispositions[d];
  tampon_.assign(disposition.Taille, 0);

  TypeTableReseau entree;
  entree.Tampon = tampon_.data();
  entree.Table = &Table;
  entree.TailleStockee = disposition.Taille;
  entree.Extension = description_.Extension;
  if (contenuParDefaut_ != nullptr) entree.ContenuParDefaut = contenuParDefaut_;
  entree.LireArticleStocke = [this, d](uint8_t* stocke, void*, int32_t identifiant, TypeGenreModif genre) {
    return LireArticleStocke(d, stocke, identifiant, genre);
  };
  if (description_.Ecrire != nullptr)
    entree.EcrireArticleStocke = [this, taille = disposition.Taille](uint8_t* stocke, void*, int32_t identifiant,
                                                                     TypeGenreModif genre) {
      return EcrireArticleStocke(stocke, taille, identifiant, genre);
    };
  entree.AvantOrdre = AvantOrdre;
  entree.ApresOrdre = ApresOrdre;
  entree.SurModification1 = SurModification1;
  entree.SurModification2 = SurModification2;
  entree.ChercherParIdentifiant = [this](int32_t identifiant) { return ChercherParIdentifiant(identifiant); };
  const int32_t numero = NetXi::EnregistrerTable(entree);
  SupFichiers::NumerosTables()[static_cast<std::size_t>(description_.Place - 1)] = numero;
  if (description_.Verifie) {
    verificateur_.reset();
    if (numero != 0) verificateur_.reset(CreerVerificateur(numero));
  }
  return numero;
}

int32_t TFichierSup::NumeroTable() const {
  return SupFichiers::NumerosTables()[static_cast<std::size_t>(description_.Place - 1)];
}

TVerificateurNetXi* TFichierSup::CreerVerificateur(int32_t NumeroTable) { return new TVerificateurNetXi(NumeroTable); }

bool TFichierSup::InsererLocalement(const std::function<void()>& ApresInsertion) {
  if (!Xi::Inserer(Table)) return false;
  if (ApresInsertion) ApresInsertion();
  netmodif::NotifierModification(GM_Creation, NumeroTable(), 0);
  MarquerBase();
  return true;
}

bool TFichierSup::Creer(uint32_t Code, const void* Donnees, int32_t Taille, const std::function<void()>& Remplir,
                        bool VerdictSeul, const std::function<void()>& ApresInsertion) {
  CodeEmpile code(Code);
  if (NetClient::PasserParServeur()) {
    int32_t identifiant = 0;
    if (!NetClient::EnvoyerRequeteServeur(Code, 0, Taille, Donnees, false, &identifiant, sizeof identifiant)) return false;
    const bool trouve = ChercherParIdentifiant(identifiant);
    return VerdictSeul || trouve;
  }
  if (Table == nullptr) return false;
  ViderArticle();
  if (Remplir) Remplir();
  return InsererLocalement(ApresInsertion);
}

bool TFichierSup::Modifier(uint32_t Code, const void* Valeur, int32_t Taille, const std::function<void()>& Ecrire) {
  CodeEmpile code(Code);
  if (NetClient::PasserParServeur())
    return NetClient::EnvoyerRequeteServeur(Code, IdentifiantCourant(), Taille, Valeur, false, nullptr);
  if (Table == nullptr) return false;
  if (Ecrire) Ecrire();
  if (!Xi::Modifier(Table)) return false;
  netmodif::NotifierModification(GM_Modification, NumeroTable(), IdentifiantCourant());
  MarquerBase();
  return true;
}

bool TFichierSup::Supprimer(uint32_t Code, const std::function<void()>& Dependants,
                            std::optional<int32_t> CleServeur) {
  CodeEmpile code(Code);
  if (NetClient::PasserParServeur())
    return NetClient::EnvoyerRequeteServeur(Code, CleServeur.value_or(IdentifiantCourant()), 0, nullptr, false,
                                            nullptr);
  if (Table == nullptr) return false;
  // Reloads the current record from the table, dropping unsaved edits of the buffer.
  EmpilerPosition();
  DepilerPosition();
  if (Xi::XiStatut != Xi::kStatutEgal) return false;
  if (Dependants) {
    EmpilerPosition();
    Dependants();
    DepilerPosition();
    if (Xi::XiStatut != Xi::kStatutEgal) return false;
  }
  netmodif::NotifierModification(GM_Suppression, NumeroTable(), IdentifiantCourant());
  if (!Xi::Supprimer(Table)) return false;
  MarquerBase();
  return true;
}

bool TFichierSup::ContenuParDefaut(uint32_t Code, const std::function<void()>& Inserer) {
  CodeEmpile code(Code);
  if (NetClient::PasserParServeur()) return NetClient::EnvoyerRequeteServeur(Code, 0, 0, nullptr, false, nullptr);
  if (Inserer) Inserer();
  return true;
}

namespace FichierSup {

void EcrireChaineCourte(uint8_t* Champ, int32_t Capacite, const std::string& Texte) {
  const std::size_t n = std::min(Texte.size(), static_cast<std::size_t>(std::clamp(Capacite, 0, 255)));
  Champ[0] = static_cast<uint8_t>(n);
  std::memcpy(Champ + 1, Texte.data(), n);
  std::memset(Champ + 1 + n, 0, static_cast<std::size_t>(Capacite) - n);
}

std::string LireChaineCourte(const uint8_t* Champ, int32_t Capacite) {
  const std::size_t n = std::min<std::size_t>(Champ[0], static_cast<std::size_t>(std::max(Capacite, 0)));
  return std::string(reinterpret_cast<const char*>(Champ + 1), n);
}

void CopierChaineCourte(uint8_t* Cible, int32_t CapaciteCible, const uint8_t* Source, int32_t CapaciteSource) {
  EcrireChaineCourte(Cible, CapaciteCible, LireChaineCourte(Source, CapaciteSource));
}

}  // namespace FichierSup
