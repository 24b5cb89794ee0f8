#include "base/cours/SupMemoCours.h"

#include <cstring>

#include "base/CompteursNumeros.h"
#include "base/EcrGlobale.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/netmodif.h"

namespace SupMemoCours {

namespace {

using E = TypeEnregistrementMemo;

// The memo's number raises the base's counter.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(f, s, Genre)) return false;
  CompteursNumeros::Relever(CompteursNumeros::kMCR, Article()->NumeroMemo);
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupMemoCours", ".MCR", 0x27, kPlace, kTailleStockee, false,
      {Identifiant(), Cardinal("NumeroMemo", 4), Chaine("Texte", kCapaciteTexte, 8)},
      {{true, {"NumeroMemo"}}, {false, {"Identifiant"}}, {false, {"Texte"}}},
      &Lire,
  });
  return d;
}

// The 256 bytes of a request: the text as a counted string of 255.
struct TexteRequete {
  uint8_t Octets[256];
  explicit TexteRequete(const std::string& Texte) { FichierSup::EcrireChaineCourte(Octets, kCapaciteTexte, Texte); }
};

void MarquerBase() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }

// The buffer filled as a new memo with the next number.
void PreparerNouveauMemo(const std::string& Texte) {
  Fichier().ViderArticle();
  Article()->NumeroMemo = CompteursNumeros::Suivant(CompteursNumeros::kMCR);
  FichierSup::EcrireChaineCourte(Article()->Texte, kCapaciteTexte, Texte);
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier());
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool ChercherMemoParNumero(uint32_t NumeroMemo) {
  if (Fichier().Table == nullptr) return false;
  Article()->NumeroMemo = NumeroMemo;
  return Xi::Trouver(Fichier().Table, kOrdreNumero);
}

uint32_t NumeroArticleDuMemo(uint32_t NumeroMemo) { return Fichier().NumeroDeCle(kOrdreNumero, NumeroMemo); }

bool CreerMemosParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerMemosParDefaut); }

bool CreerMemo(const std::string& Texte) {
  SupTraitement::TraitementEmpile code(kCodeCreerMemo);
  if (NetClient::PasserParServeur()) {
    const TexteRequete donnees(Texte);
    return NetClient::EnvoyerRequeteServeur(kCodeCreerMemo, 0, sizeof donnees.Octets, donnees.Octets, false, nullptr);
  }
  if (Fichier().Table == nullptr) return false;
  PreparerNouveauMemo(Texte);
  return Fichier().InsererLocalement([] { CompteursNumeros::Relever(CompteursNumeros::kMCR, Article()->NumeroMemo); });
}

bool ModifierMemo(const std::string& Texte) {
  SupTraitement::TraitementEmpile code(kCodeModifierMemo);
  if (NetClient::PasserParServeur()) {
    const TexteRequete donnees(Texte);
    return NetClient::EnvoyerRequeteServeur(kCodeModifierMemo, 0, sizeof donnees.Octets, donnees.Octets, false,
                                            nullptr);
  }
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return false;
  FichierSup::EcrireChaineCourte(Article()->Texte, kCapaciteTexte, Texte);
  if (!Xi::Modifier(f.Table)) return false;
  netmodif::NotifierModification(GM_Modification, f.NumeroTable(), f.IdentifiantCourant());
  MarquerBase();
  return true;
}

bool SupprimerMemo() {
  SupTraitement::TraitementEmpile code(kCodeSupprimerMemo);
  TFichierSup& f = Fichier();
  if (NetClient::PasserParServeur()) {
    const auto numero = static_cast<int32_t>(f.Table != nullptr ? Article()->NumeroMemo : 0);
    return NetClient::EnvoyerRequeteServeur(kCodeSupprimerMemo, numero, 0, nullptr, false, nullptr);
  }
  if (f.Table == nullptr) return false;
  // The record as the table holds it, not unsaved edits of the buffer.
  f.EmpilerPosition();
  f.DepilerPosition();
  if (Xi::XiStatut != Xi::kStatutEgal) return false;
  netmodif::NotifierModification(GM_Suppression, f.NumeroTable(), f.IdentifiantCourant());
  if (!Xi::Supprimer(f.Table)) return false;
  MarquerBase();
  return true;
}

uint32_t InsererMemoDirectement(const std::string& Texte) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return 0;
  f.EmpilerPosition();
  PreparerNouveauMemo(Texte);
  uint32_t numero = 0;
  if (Xi::Inserer(f.Table)) {
    numero = Xi::NumeroCourant(f.Table);
    CompteursNumeros::Relever(CompteursNumeros::kMCR, Article()->NumeroMemo);
  }
  f.DepilerPosition();
  return numero;
}

bool ModifierMemoDirectement(uint32_t NumeroArticle, const std::string& Texte) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr || NumeroArticle == 0) return false;
  f.EmpilerPosition();
  bool ok = Xi::AllerA(f.Table, NumeroArticle);
  if (ok) {
    FichierSup::EcrireChaineCourte(Article()->Texte, kCapaciteTexte, Texte);
    ok = Xi::Modifier(f.Table);
  }
  f.DepilerPosition();
  return ok;
}

void SupprimerMemoDirectement(uint32_t NumeroArticle) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr || NumeroArticle == 0) return;
  f.EmpilerPosition();
  if (Xi::AllerA(f.Table, NumeroArticle)) (void)Xi::Supprimer(f.Table);
  f.DepilerPosition();
}

}  // namespace SupMemoCours
