// A base holding what resources refer to: a civility, a town, two calendars (the first is the
// default one), a curriculum, the statuses "PEG" (the default) and "Autre", the sites "Annexe"
// (number 7) and the default site (number 1), and two subjects; records arrive as the server's
// creation orders, with the identifiers of a loaded base. Stored resources are built field by field.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "BaseEssai.h"
#include "base/SupParam.h"
#include "base/ValeursUtilisateur.h"
#include "base/ressources/SupRessource.h"
#include "core/records/Xi.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"

namespace RessourcesEssai {

using Octets = std::vector<uint8_t>;

inline void Poser32(Octets& s, std::size_t decalage, uint32_t v) { std::memcpy(&s[decalage], &v, 4); }
inline void PoserChaine(Octets& s, std::size_t decalage, const std::string& texte, std::size_t capacite) {
  const Octets c = Chaine(texte, capacite);
  std::copy(c.begin(), c.end(), s.begin() + static_cast<std::ptrdiff_t>(decalage));
}
inline Octets Concatener(std::initializer_list<Octets> parts) {
  Octets v;
  for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
  return v;
}

// Places (table numbers) and the identifiers of the records the fixture loads.
inline constexpr int32_t kCIV = 1, kCAL = 3, kLIE = 7, kMAT = 12, kCUR = 14, kSTP = 16, kSIT = 17, kRES = 19,
                         kLCL = 25, kLSL = 38, kRRM = 40;
inline constexpr uint32_t kIdCivilite = 6, kIdLieu = 36, kIdCalendrier1 = 111, kIdCalendrier2 = 222, kIdCursus = 52,
                          kIdPEG = 72, kIdAutre = 144, kIdAnnexe = 40, kIdSiteDefaut = 80, kIdMatiere1 = 228,
                          kIdMatiere2 = 456;
inline constexpr uint32_t kNumeroAnnexe = 7, kNumeroSiteDefaut = 1;

// A stored status (72 bytes).
inline Octets Statut(const std::string& nom, int32_t annuel, int32_t t1, int32_t t3, bool defaut) {
  Octets s(72, 0);
  PoserChaine(s, 0, nom, 30);
  Poser32(s, 32, static_cast<uint32_t>(annuel));
  Poser32(s, 36, static_cast<uint32_t>(t1));
  Poser32(s, 44, static_cast<uint32_t>(t3));
  s[48] = defaut;
  Poser32(s, 52, 3500);
  Poser32(s, 56, 9000);
  s[64] = 0xFE;  // weeks 1 to 7
  return s;
}

inline Octets Site(uint32_t numero, const std::string& nom) {
  Octets s(40, 0);
  Poser32(s, 0, numero);
  PoserChaine(s, 4, nom, 30);
  return s;
}

// A stored resource: the fields every kind has.
inline Octets Ressource(uint8_t genre, const std::string& nom, const std::string& code, uint32_t numero) {
  Octets s(560, 0);
  PoserChaine(s, 0, "EXT-" + code, 80);
  PoserChaine(s, 81, nom, 30);
  PoserChaine(s, 112, code, 16);
  Poser32(s, 140, 30);   // entered head-count
  Poser32(s, 144, 12);   // computed head-count
  Poser32(s, 156, 8);    // maximum places a day
  Poser32(s, 160, 40);   // a week
  s[164] = 0xFE;         // weeks 1 to 7
  PoserChaine(s, 171, "ABC", 3);
  Poser32(s, 176, numero);
  s[180] = genre;
  return s;
}

class BaseRessources : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    Traduction::DefinirTexte("SupEtatNomSiteDefaut", "Site principal");
    Utilisateur::CodeUtilisateurCourant() = "USR";
    Recevoir(OrdreRecu(GM_Creation, kCIV, kIdCivilite, Chaine("Mme", 5)));
    Recevoir(OrdreRecu(GM_Creation, kLIE, kIdLieu, Concatener({Chaine("Lyon", 30), {0}, {0, 0, 0, 0}})));
    for (auto [id, nom] : {std::pair{kIdCalendrier1, "Annee"}, {kIdCalendrier2, "Semestre"}}) {
      Octets c(111, 0);
      PoserChaine(c, 0, nom, 10);
      Recevoir(OrdreRecu(GM_Creation, kCAL, static_cast<int32_t>(id), c));
    }
    Recevoir(OrdreRecu(GM_Creation, kCUR, kIdCursus, Concatener({Chaine("Licence", 30), Chaine("L1", 20)})));
    Recevoir(OrdreRecu(GM_Creation, kSTP, kIdPEG, Statut("PEG", 143500, 84000, 18450, true)));
    Recevoir(OrdreRecu(GM_Creation, kSTP, kIdAutre, Statut("Autre", 143500, 92400, 18450, false)));
    Recevoir(OrdreRecu(GM_Creation, kSIT, kIdAnnexe, Site(kNumeroAnnexe, "Annexe")));
    Recevoir(OrdreRecu(GM_Creation, kSIT, kIdSiteDefaut, Site(kNumeroSiteDefaut, "Site principal")));
    for (auto [id, code] : {std::pair{kIdMatiere1, "MATH"}, {kIdMatiere2, "PHYS"}}) {
      Octets m(228, 0);
      PoserChaine(m, 0, code, 16);
      PoserChaine(m, 98, code, 30);
      Poser32(m, 224, id);  // its permanent number, unique
      Recevoir(OrdreRecu(GM_Creation, kMAT, static_cast<int32_t>(id), m));
    }
    for (auto [place, n] : {std::pair{kCIV, 1u}, {kLIE, 1u}, {kCAL, 2u}, {kCUR, 1u}, {kSTP, 2u}, {kSIT, 2u}, {kMAT, 2u}})
      ASSERT_EQ(Xi::Nombre(SupFichiers::Fichier(place)->Table), n) << place;
  }
  void TearDown() override {
    SupParam::DefinirModeCFA(false);
    SupParam::Parametres() = TypeParametresGeneraux{};
    ValeursUtilisateur::Initialiser();
    Utilisateur::CodeUtilisateurCourant().clear();
    BaseOuverte::TearDown();
  }

  // Loads a stored resource as the server's creation order and makes it current; its record number,
  // 0 when refused.
  static uint32_t Charger(int32_t identifiant, const Octets& stocke) {
    Recevoir(OrdreRecu(GM_Creation, kRES, identifiant, stocke));
    return SupRessource::ChercherParIdentifiant(identifiant) ? Xi::NumeroCourant(SupRessource::Fichier().Table) : 0;
  }
  // The current record of a file in its stored form.
  static Octets StockeCourant(int32_t place) {
    TypeTableReseau* entree = NetXi::Table(place);
    TFichierSup& f = *SupFichiers::Fichier(place);
    EXPECT_TRUE(entree->EcrireArticleStocke(entree->Tampon, f.Table, f.IdentifiantCourant(), GM_Modification));
    return Octets(entree->Tampon, entree->Tampon + entree->TailleStockee);
  }
  static const TypeEnregistrementRessource& R() { return *SupRessource::Article(); }
};

}  // namespace RessourcesEssai
