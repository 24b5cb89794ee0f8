// Seeds of the timetable base's readers: the modification orders of every record file, the settings'
// orders and the small blocks of the base.
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/seeds/Semences.h"
#include "base/IEStream.h"
#include "base/SupDemiPension.h"
#include "base/SupFichiers.h"
#include "base/SupLibelleHeure.h"
#include "base/SupOption.h"
#include "base/SupParam.h"
#include "base/fichiers/FichierSup.h"
#include "core/records/Xi.h"
#include "fuzz/BaseFuzz.h"
#include "net/NetXi.h"
#include "net/protocol/GenresMessages.h"
#include "streams/ParametresBase.h"
#include "tests/base/ArticleEssai.h"

namespace Semences {
namespace {

constexpr int32_t kCours = 28;

// A stored course of Taille bytes: bytes that vary, a counted memo text wherever the older layouts
// hold one (74, 78 and 82) and a small place.
Octets CoursMotif(uint32_t Taille) {
  Octets o(Taille);
  for (uint32_t k = 0; k < Taille; ++k) o[k] = static_cast<uint8_t>(k * 37 + 11);
  for (uint32_t debut : {74u, 78u, 82u})
    if (debut + 34 <= Taille) {
      o[debut] = 6;
      std::memcpy(&o[debut + 1], "Memo D", 6);
    }
  return o;
}

// Every file's record as its writer stores it, received as a creation, a change and a deletion, and
// read back through each of its stored layouts.
void SemencesOrdreModif() {
  Fuzz::TBaseOuverte base;
  for (int32_t place = 1; place <= 42; ++place) {
    TFichierSup& f = *SupFichiers::Fichier(place);
    const auto& dispositions = f.Description().Dispositions;
    Octets stocke(dispositions.back().Taille, 0);
    f.ViderArticle();
    if (f.Description().Ecrire != nullptr) f.EcrireArticleStocke(stocke.data(), 8 * place, GM_Creation);
    Octets ordres{0};
    for (uint8_t genre : {GM_Creation, GM_Modification, GM_Suppression}) {
      const Octets ordre = Fuzz::Ordre(genre, place, 8 * place, stocke);
      ordres = ordres + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
    }
    Ecrire("OrdreModif", "ordres-" + std::to_string(place), ordres);
    for (std::size_t d = 0; d < dispositions.size(); ++d) {
      Octets lu{1, static_cast<uint8_t>(place - 1), static_cast<uint8_t>(d), GM_Creation};
      // The older course layouts get a record whose every byte says something (a memo text, flags,
      // statuses and places out of range), so that each layout's rules are reached.
      const Octets ancien = place == kCours ? CoursMotif(dispositions[d].Taille) : Octets(dispositions[d].Taille, 0);
      lu = lu + Valeur<int32_t>(8 * place) + (d + 1 == dispositions.size() ? stocke : ancien);
      Ecrire("OrdreModif", "stocke-" + std::to_string(place) + "-" + std::to_string(d), lu);
    }
  }
}

// A creation order for every file in base order, each record referring to the records the orders
// before it created: every reference of every declared layout resolves, so that the fuzzer starts
// from records that all files accept.
void SemencesOrdreModifBase() {
  Fuzz::TBaseOuverte base;
  Octets ordres{0};
  for (int32_t place = 1; place <= 42; ++place) {
    TFichierSup& f = *SupFichiers::Fichier(place);
    const uint32_t taille = f.Description().Dispositions.back().Taille;
    const auto identifiant = static_cast<int32_t>(taille);
    f.ViderArticle();
    RemplirArticle(f, place);
    std::memcpy(f.Table, &identifiant, 4);
    Fuzz::Verifier(Xi::Inserer(f.Table), "every filled record is inserted");
    Octets stocke(taille, 0);
    Fuzz::Verifier(f.EcrireArticleStocke(stocke.data(), identifiant, GM_Creation), "every record is written");
    const Octets ordre = Fuzz::Ordre(GM_Creation, place, identifiant, stocke);
    ordres = ordres + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
  }
  Ecrire("OrdreModif", "ordres-base", ordres);
}

// The settings' requests as their setters send them, turned into the orders the server broadcasts.
void SemencesOrdresReglages() {
  struct TClientEnregistreur final : IClientDonnees {
    std::vector<std::pair<uint32_t, Octets>> Requetes;
    std::vector<int32_t> Parametres;
    bool PasserParServeur() override { return true; }
    bool EnvoyerRequeteSynchrone(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees, bool,
                                 void*, int32_t) override {
      const auto* d = static_cast<const uint8_t*>(Donnees);
      Requetes.emplace_back(Code, Donnees != nullptr ? Octets(d, d + Taille) : Octets{});
      Parametres.push_back(Parametre);
      return true;
    }
  } client;
  Fuzz::TBaseOuverte base;
  NetClient::ClientDonnees() = &client;
  TParametresBase& parametres = *ParametresBase::Parametres();
  parametres.DefinirAppliquerOrdre(false);
  parametres.DefinirJoursOuvres(62);
  parametres.ModifierPremiereDate(45901);
  TypeDomaineHebdomadaire semaines;
  semaines.Inclure(4);
  parametres.ModifierDomaineVerrouillage(semaines);
  parametres.ModifierClotureAutomatique(1);
  TParametresExportAutoBulvera e;
  e.Entier = 3;
  parametres.ModifierParametresExportAuto(e);
  parametres.DefinirAppliquerOrdre(true);
  (void)SupParam::ModifierSeuilHSSProfesseur(4000, false);
  (void)SupParam::ModifierPlaceDemiJournee(6, false);
  (void)SupParam::ModifierNomEtablissement("Lycee", false);
  (void)SupParam::ModifierApportProfesseurAnnuel(0, false);
  (void)SupDemiPension::ModifierDebutDemiPension(8, false);
  (void)SupDemiPension::ModifierGenresRessourcesDemiPension(29, false);
  (void)SupLibelleHeure::ModifierHoraireLibelleHeure(0, 3, "09h30", false);
  (void)SupLibelleHeure::ModifierVisibleEcranLibelleHeure(1, 144, true, false);
  (void)SupOption::ModifierOption(4, 70, false);
  (void)SupOption::MettreOptionsParDefaut(false);
  NetClient::ClientDonnees() = nullptr;
  const Octets grille = Valeur<uint16_t>(20) + Valeur<uint16_t>(5) + Valeur<uint16_t>(10);
  Octets tout = grille;
  for (std::size_t i = 0; i < client.Requetes.size(); ++i) {
    const auto& [code, donnees] = client.Requetes[i];
    const uint32_t categorie = code >> 16;
    const uint8_t unite = categorie == 0x8002   ? 0
                          : categorie == 0x8003 ? 3
                          : categorie == 0x8004 ? 4
                          : categorie == 0x8005 ? 5
                          : (code == 0x80010000 || code == 0x80010001 || code == 0x80010700 || code == 0x80010C00)
                              ? 1
                              : 2;
    const Octets ordre = Octets{unite} + Valeur(static_cast<uint16_t>(code & 0xFFFF)) + Valeur(client.Parametres[i]) +
                         Valeur(static_cast<uint16_t>(donnees.size())) + donnees;
    Ecrire("OrdresReglages", "ordre-" + std::to_string(i), grille + ordre);
    tout = tout + ordre;
  }
  Ecrire("OrdresReglages", "tous", tout);
  Ecrire("OrdresReglages", "grille-vide", Octets(6, 0) + Octets{4, 0, 0, 0, 0, 0, 0, 16, 0});
}

// A packed selection of the three records the target's base holds in each file, and sized buffers.
void SemencesPetitsBlocsBase() {
  Fuzz::TBaseOuverte base;
  for (int32_t place : {1, 6, 14}) {
    const auto taille = static_cast<int32_t>(NetXi::Table(place)->TailleStockee);
    Octets bloc = Valeur<int32_t>(3);
    for (int32_t i = 1; i <= 3; ++i) bloc = bloc + Valeur<int32_t>(i * taille);
    Ecrire("PetitsBlocsBase", "selection-" + std::to_string(place), Octets{0, static_cast<uint8_t>(place - 1)} + bloc);
  }
  for (int32_t n : {0, 4, 16}) {
    TMemoryStream flux;
    const std::string texte = "tampon de seize!";
    TIEStream::Ecrire(&flux, texte.data(), static_cast<int32_t>(texte.size()));
    Ecrire("PetitsBlocsBase", "tampon-" + std::to_string(n), Octets{1, static_cast<uint8_t>(n)} + flux.Bytes());
  }
}

}  // namespace

void Base() {
  SemencesOrdreModif();
  SemencesOrdreModifBase();
  SemencesOrdresReglages();
  SemencesPetitsBlocsBase();
}

}  // namespace Semences
