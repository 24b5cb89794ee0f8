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
#include "net/NetClient.h"
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

Octets StockeRessource(uint8_t Genre, const std::string& Nom, uint32_t Numero, uint32_t A, uint32_t B, uint32_t C) {
  Octets s(560, 0);
  s[81] = static_cast<uint8_t>(Nom.size());
  std::memcpy(&s[82], Nom.data(), Nom.size());
  std::memcpy(&s[176], &Numero, 4);
  s[180] = Genre;
  s[152] = Genre == 3 || Genre == 4;
  std::memcpy(&s[184], &A, 4);
  std::memcpy(&s[188], &B, 4);
  std::memcpy(&s[192], &C, 4);
  return s;
}

}  // namespace

std::vector<Octets> OrdresRessources() {
  // The records resources refer to: one of every file before ".RES", each in its first slot.
  std::vector<Octets> ordres;
  Fuzz::TBaseOuverte base;
  const auto identifiant = [](int32_t place) {
    return static_cast<int32_t>(SupFichiers::Fichier(place)->Description().Dispositions.back().Taille);
  };
  for (int32_t place = 1; place < 19; ++place) {
    TFichierSup& f = *SupFichiers::Fichier(place);
    f.ViderArticle();
    RemplirArticle(f, place);
    const int32_t id = identifiant(place);
    std::memcpy(f.Table, &id, 4);
    Fuzz::Verifier(Xi::Inserer(f.Table), "every filled record is inserted");
    Octets stocke(static_cast<std::size_t>(id), 0);
    Fuzz::Verifier(f.EcrireArticleStocke(stocke.data(), id, GM_Creation), "every record is written");
    ordres.push_back(Fuzz::Ordre(GM_Creation, place, id, stocke));
  }
  uint32_t numeroSite = 0;
  std::memcpy(&numeroSite, SupFichiers::Fichier(17)->Enregistrement() + 4, 4);
  // Calendar, curriculum, civility and status identifiers; the site by its number.
  const auto cal = static_cast<uint32_t>(identifiant(3)), cur = static_cast<uint32_t>(identifiant(14));
  Octets prof = StockeRessource(0, "Martin", 1, 150000, 84000, 3500);
  const auto civ = static_cast<uint32_t>(identifiant(1)), stp = static_cast<uint32_t>(identifiant(16));
  std::memcpy(&prof[220], &civ, 4);
  std::memcpy(&prof[224], &stp, 4);
  prof[259] = 4;
  std::memcpy(&prof[260], "Anne", 4);
  const std::vector<Octets> ressources = {
      prof,
      StockeRessource(1, "Groupe", 2, cal, cur, 1),
      StockeRessource(2, "Terminale", 3, cal, cur, 1),
      StockeRessource(3, "TD", 4, cal, 0, 0),
      StockeRessource(4, "Option", 5, cal, 0, 0),
      StockeRessource(5, "Salle", 6, 1, 1, numeroSite),
      StockeRessource(5, "Bloc", 7, 3, 0, numeroSite),
      StockeRessource(6, "Inconnu", 8, 1, 1, 1),
  };
  for (std::size_t k = 0; k < ressources.size(); ++k)
    ordres.push_back(Fuzz::Ordre(GM_Creation, 19, static_cast<int32_t>(560 * (k + 1)), ressources[k]));
  const auto libelle = [](int32_t ressource, const std::string& texte) {
    Octets s(80, 0);
    std::memcpy(&s[0], &ressource, 4);
    s[4] = static_cast<uint8_t>(texte.size());
    std::memcpy(&s[5], texte.data(), texte.size());
    return s;
  };
  ordres.push_back(Fuzz::Ordre(GM_Creation, 25, 80, libelle(3 * 560, "Terminale scientifique")));
  ordres.push_back(Fuzz::Ordre(GM_Creation, 38, 80, libelle(7 * 560, "Bloc des sciences")));
  const int32_t mat = identifiant(12);
  const std::pair<uint8_t, int32_t> relations[] = {{0, 560}, {2, 3 * 560}, {3, 4 * 560}, {4, 5 * 560}};
  int32_t id = 0;
  for (const auto& [genre, ressource] : relations) {
    Octets r(12, 0);
    r[0] = genre;
    std::memcpy(&r[4], &ressource, 4);
    std::memcpy(&r[8], &mat, 4);
    ordres.push_back(Fuzz::Ordre(GM_Creation, 40, id += 12, r));
  }
  return ordres;
}

std::vector<Octets> OrdresEleves() {
  const auto texte = [](Octets& s, std::size_t o, const std::string& t) {
    s[o] = static_cast<uint8_t>(t.size());
    std::memcpy(&s[o + 1], t.data(), t.size());
  };
  const auto mot = [](Octets& s, std::size_t o, uint32_t v) { std::memcpy(&s[o], &v, 4); };
  std::vector<Octets> ordres;
  // A town, a country and an admission modality; a subject.
  Octets lieu(36, 0), pays(66, 0), modalite(61, 0), matiere(228, 0);
  texte(lieu, 0, "Lyon");
  texte(pays, 4, "France");
  texte(modalite, 0, "Concours");
  mot(matiere, 224, 1);
  ordres.push_back(Fuzz::Ordre(GM_Creation, 7, 36, lieu));
  ordres.push_back(Fuzz::Ordre(GM_Creation, 6, 66, pays));
  ordres.push_back(Fuzz::Ordre(GM_Creation, 5, 61, modalite));
  ordres.push_back(Fuzz::Ordre(GM_Creation, 12, 228, matiere));
  // Two students with every field and a coded value holding 0x00 and 0xFF.
  for (uint32_t k = 1; k <= 2; ++k) {
    Octets e(536, 0);
    mot(e, 0, k);
    texte(e, 4, "EXT" + std::to_string(k));
    texte(e, 85, k == 1 ? "Durand" : "Petit");
    texte(e, 137, "Paul");
    texte(e, 286, "69001");
    mot(e, 292, 36);
    mot(e, 368, 36);
    mot(e, 372, 66);
    mot(e, 448, 61);
    e[376] = 1;
    for (std::size_t c = 0; c < 13; ++c) e[513 + c] = c % 2 == 0 ? 0xFF : 0x00;
    texte(e, 526, "ADM");
    ordres.push_back(Fuzz::Ordre(GM_Creation, 8, static_cast<int32_t>(536 * k), e));
  }
  // Families of the student and subject genres, their headings, and headings given.
  const auto famille = [&](uint8_t genre, const std::string& nom) {
    Octets f(15, 0);
    f[0] = genre;
    texte(f, 1, nom);
    return f;
  };
  ordres.push_back(Fuzz::Ordre(GM_Creation, 9, 15, famille(3, "Regime")));
  ordres.push_back(Fuzz::Ordre(GM_Creation, 9, 30, famille(0, "CFA")));
  const auto rubrique = [&](uint32_t f, const std::string& nom) {
    Octets r(20, 0);
    mot(r, 0, f);
    texte(r, 4, nom);
    return r;
  };
  ordres.push_back(Fuzz::Ordre(GM_Creation, 10, 20, rubrique(15, "Interne")));
  ordres.push_back(Fuzz::Ordre(GM_Creation, 10, 40, rubrique(15, "Externe")));
  ordres.push_back(Fuzz::Ordre(GM_Creation, 10, 60, rubrique(30, "T1")));
  const auto attribution = [&](uint32_t element, uint32_t f, uint32_t r) {
    Octets a(12, 0);
    mot(a, 0, element);
    mot(a, 4, f);
    mot(a, 8, r);
    return a;
  };
  ordres.push_back(Fuzz::Ordre(GM_Creation, 21, 12, attribution(536, 15, 20)));
  ordres.push_back(Fuzz::Ordre(GM_Creation, 21, 24, attribution(1072, 15, 40)));
  ordres.push_back(Fuzz::Ordre(GM_Creation, 21, 36, attribution(228, 30, 60)));
  return ordres;
}

namespace {

// Students, families and their headings, then a change and deletions that reach what depends on them.
void SemencesOrdreModifEleves() {
  std::vector<Octets> ordres = OrdresEleves();
  ordres.push_back(Fuzz::Ordre(GM_Modification, 21, 24, Octets{0x18, 2, 0, 0, 15, 0, 0, 0, 20, 0, 0, 0}));
  ordres.push_back(Fuzz::Ordre(GM_Suppression, 10, 20, Octets(20, 0)));
  ordres.push_back(Fuzz::Ordre(GM_Suppression, 9, 15, Octets(15, 0)));
  Octets seme{0};
  for (const Octets& ordre : ordres) seme = seme + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
  Ecrire("OrdreModif", "ordres-eleves", seme);
  // The older layouts of students and families with every byte saying something: texts in every
  // field, a family named "faf" with a genre each old reader converts.
  for (uint8_t d = 0; d < 3; ++d) {
    static const uint32_t tailles[] = {184, 448, 456};
    Octets e(tailles[d]);
    for (uint32_t k = 0; k < tailles[d]; ++k) e[k] = static_cast<uint8_t>(k * 29 + 3);
    Ecrire("OrdreModif", "stocke-eleve-" + std::to_string(d),
           Octets{1, 7, d, GM_Creation} + Valeur<int32_t>(536) + e);
  }
  for (uint8_t d = 0; d < 6; ++d) {
    const Octets f{static_cast<uint8_t>(d == 0 ? 5 : d + 1), 3, 'f', 'a', 'f'};
    Ecrire("OrdreModif", "stocke-famille-" + std::to_string(d), Octets{1, 8, d, GM_Creation} + Valeur<int32_t>(15) + f);
  }
}

}  // namespace

// The orders of OrdresRessources, a course (204) and its course relations: the teacher (560), the
// room group (7 x 560) three times, a relation changed onto another resource, one deleted and two
// orphans (their resource, respectively their course, missing).
std::vector<Octets> OrdresRelationsCours() {
  std::vector<Octets> ordres = OrdresRessources();
  // The course as the file's writer stores it, its references naming the records before it.
  Octets cours(SupFichiers::Fichier(kCours)->Description().Dispositions.back().Taille, 0);
  {
    Fuzz::TBaseOuverte base;
    for (const Octets& ordre : ordres) NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
    TFichierSup& f = *SupFichiers::Fichier(kCours);
    f.ViderArticle();
    RemplirArticle(f, kCours);
    Fuzz::Verifier(f.EcrireArticleStocke(cours.data(), 204, GM_Creation), "the course is written");
  }
  ordres.push_back(Fuzz::Ordre(GM_Creation, kCours, 204, cours));
  const auto relation = [](uint32_t ressource, uint32_t c, uint8_t semaines) {
    return Valeur(ressource) + Valeur(c) + Octets{semaines, 0xFF, 0x0F, 0, 0, 0, 0xFF, 0};
  };
  constexpr int32_t kRLC = 29;
  ordres.push_back(Fuzz::Ordre(GM_Creation, kRLC, 16, relation(560, 204, 0xFE)));
  for (int32_t k = 2; k <= 4; ++k)
    ordres.push_back(Fuzz::Ordre(GM_Creation, kRLC, 16 * k, relation(7 * 560, 204, static_cast<uint8_t>(1 << k))));
  ordres.push_back(Fuzz::Ordre(GM_Modification, kRLC, 64, relation(6 * 560, 204, 0x06)));
  ordres.push_back(Fuzz::Ordre(GM_Suppression, kRLC, 48, {}));
  ordres.push_back(Fuzz::Ordre(GM_Creation, kRLC, 80, relation(99 * 560, 204, 2)));
  ordres.push_back(Fuzz::Ordre(GM_Creation, kRLC, 96, relation(560, 9999, 2)));
  return ordres;
}


// The orders of OrdresRelationsCours, a calendar created then deleted, time slots of the teacher (560)
// and of the course (204) of kinds 0 and 3, a slot changed, one deleted, and two orphans (owner
// missing, owner 0).
std::vector<Octets> OrdresDisponibilites() {
  std::vector<Octets> ordres = OrdresRelationsCours();
  Octets calendrier(111, 0);
  calendrier[0] = 3;
  calendrier[1] = 'T';
  calendrier[2] = 'R';
  calendrier[3] = 'I';
  for (std::size_t o = 11; o < 46; ++o) calendrier[o] = static_cast<uint8_t>(0x11 * o);
  ordres.push_back(Fuzz::Ordre(GM_Creation, 3, 333, calendrier));
  ordres.push_back(Fuzz::Ordre(GM_Suppression, 3, 333, {}));
  const auto creneau = [](uint32_t proprietaire, uint8_t genre, uint32_t debut, uint32_t fin) {
    return Valeur(proprietaire) + Octets{genre, 0, 0, 0} + Valeur(debut) + Valeur(fin) +
           Octets{0xFE, 0xFF, 0x0F, 0, 0, 0, 0, 0};
  };
  constexpr int32_t kIRS = 31, kICR = 32;
  ordres.push_back(Fuzz::Ordre(GM_Creation, kIRS, 24, creneau(560, 0, 2, 5)));
  ordres.push_back(Fuzz::Ordre(GM_Creation, kIRS, 48, creneau(560, 3, 20, 39)));
  ordres.push_back(Fuzz::Ordre(GM_Modification, kIRS, 48, creneau(560, 3, 21, 38)));
  ordres.push_back(Fuzz::Ordre(GM_Suppression, kIRS, 24, {}));
  ordres.push_back(Fuzz::Ordre(GM_Creation, kIRS, 72, creneau(99 * 560, 0, 1, 1)));
  ordres.push_back(Fuzz::Ordre(GM_Creation, kICR, 24, creneau(204, 1, 4, 7)));
  ordres.push_back(Fuzz::Ordre(GM_Creation, kICR, 48, creneau(0, 0, 4, 7)));
  return ordres;
}

namespace {

// Resources of every kind with their labels and subjects, as one sequence of orders.
void SemencesOrdreModifRessources() {
  Octets ordres{0};
  for (const Octets& ordre : OrdresRessources()) ordres = ordres + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
  Ecrire("OrdreModif", "ordres-ressources", ordres);
  Octets relations{0};
  for (const Octets& ordre : OrdresRelationsCours())
    relations = relations + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
  Ecrire("OrdreModif", "ordres-relations-cours", relations);
  Octets disponibilites{0};
  for (const Octets& ordre : OrdresDisponibilites())
    disponibilites = disponibilites + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
  Ecrire("OrdreModif", "ordres-calendriers-disponibilites", disponibilites);
  // A slot of each file in the older 20-byte layout (no kind), read after those orders: place byte
  // 30 or 31 (".IRS", ".ICR"), layout 0, a creation.
  for (auto [place, proprietaire] : {std::pair<uint8_t, uint32_t>{30, 560}, {31, 204}}) {
    Octets stocke{3};
    for (const Octets& ordre : OrdresDisponibilites()) stocke = stocke + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
    stocke = stocke + Valeur(uint16_t{0}) + Octets{place, 0, 0} + Valeur(int32_t{40}) + Valeur(proprietaire) +
             Valeur(uint32_t{3}) + Valeur(uint32_t{9}) + Octets{0x0C, 0, 0, 0, 0, 0, 0, 0};
    Ecrire("OrdreModif", place == 30 ? "disponibilite-ressource-ancienne" : "disponibilite-cours-ancienne", stocke);
  }
}

// Subject contributions in each of their layouts and a contribution-period relation, read after the
// orders of the records they name: the subject (228), the curriculum and the module (52), the
// typology "Cours" (56), the teacher (560), the diploma (1680), a calendar (111) and a contribution
// (20).
void SemencesOrdreModifApports() {
  constexpr int32_t kPAM = 33, kRAP = 42;
  std::vector<Octets> prealables = OrdresRessources();
  Octets cours(28, 0);
  cours[0] = 5;
  std::memcpy(&cours[1], "Cours", 5);
  cours[24] = 1;
  prealables.push_back(Fuzz::Ordre(GM_Creation, 11, 56, cours));
  const auto apport = [](int32_t duree, int32_t matiere, uint8_t genre, int32_t element, int32_t typologie) {
    return Valeur(duree) + Valeur(matiere) + Octets{genre, 0, 0, 0} + Valeur(element) + Valeur(typologie);
  };
  prealables.push_back(Fuzz::Ordre(GM_Creation, kPAM, 20, apport(150, 228, 2, 52, 56)));
  Octets ordres;
  for (const Octets& ordre : prealables) ordres = ordres + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
  ordres = ordres + Valeur<uint16_t>(0);
  const Octets a = Valeur<int32_t>(228) + Valeur<int32_t>(560) + Octets(100, 0xAB) + Valeur<int32_t>(200);
  const Octets b = apport(300, 228, 0, 52, 0), ressource = apport(300, 228, 1, 560, 0);
  const std::vector<std::pair<std::string, Octets>> lus = {
      {"A", Octets{static_cast<uint8_t>(kPAM - 1), 0, GM_Creation} + Valeur<int32_t>(112) + a},
      {"B-module", Octets{static_cast<uint8_t>(kPAM - 1), 1, GM_Creation} + Valeur<int32_t>(16) +
                       Octets(b.begin(), b.begin() + 16)},
      {"B-ressource", Octets{static_cast<uint8_t>(kPAM - 1), 1, GM_Creation} + Valeur<int32_t>(32) +
                          Octets(ressource.begin(), ressource.begin() + 16)},
      {"courante", Octets{static_cast<uint8_t>(kPAM - 1), 2, GM_Creation} + Valeur<int32_t>(40) + apport(90, 228, 0, 52, 56)},
      {"periode", Octets{static_cast<uint8_t>(kRAP - 1), 0, GM_Creation} + Valeur<int32_t>(20) + Valeur<int32_t>(1680) +
                      Valeur<int32_t>(20) + Valeur<int32_t>(111) + Valeur<int32_t>(3) + Octets{1, 0, 0, 0}},
  };
  for (const auto& [nom, lu] : lus) Ecrire("OrdreModif", "apports-" + nom, Octets{3} + ordres + lu);
}

// Partitions in each of their layouts and an old resource-partition relation, read after the orders
// of the resources: the diploma (1680), the TD (2240) and a partition of the diploma (44).
void SemencesOrdreModifPartitions() {
  constexpr int32_t kPRT = 20, kRLP = 24;
  const auto nom = [](const std::string& texte, std::size_t capacite) {
    Octets c(capacite + 1, 0);
    c[0] = static_cast<uint8_t>(texte.size());
    std::memcpy(&c[1], texte.data(), texte.size());
    return c;
  };
  std::vector<Octets> prealables = OrdresRessources();
  prealables.push_back(Fuzz::Ordre(GM_Creation, kPRT, 44,
                                   nom("Langues", 30) + Octets{0} + Valeur<int32_t>(3) + Valeur<int32_t>(1680) +
                                       Valeur<uint32_t>(0x808000)));
  Octets ordres;
  for (const Octets& ordre : prealables) ordres = ordres + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
  ordres = ordres + Valeur<uint16_t>(0);
  const auto lu = [](int32_t place, uint8_t disposition, uint8_t genre, int32_t identifiant, const Octets& stocke) {
    return Octets{static_cast<uint8_t>(place - 1), disposition, genre} + Valeur(identifiant) + stocke;
  };
  const std::vector<std::pair<std::string, Octets>> lus = {
      {"avant300", lu(kPRT, 0, GM_Creation, 88, nom("Groupes", 15) + Valeur<int32_t>(1680) + Valeur<uint32_t>(0xFFFF))},
      {"avant300-modification",
       lu(kPRT, 0, GM_Modification, 44, nom("Groupes", 15) + Valeur<int32_t>(1680) + Valeur<uint32_t>(0))},
      {"avant408", lu(kPRT, 1, GM_Creation, 88,
                      nom("Sport", 15) + Valeur<int32_t>(9) + Valeur<int32_t>(1680) + Valeur<uint32_t>(0x800080))},
      {"courante", lu(kPRT, 2, GM_Creation, 132,
                      nom("Arts", 30) + Octets{0} + Valeur<int32_t>(12) + Valeur<int32_t>(1680) + Valeur<uint32_t>(0))},
      {"relation", lu(kRLP, 0, GM_Creation, 8, Valeur<int32_t>(44) + Valeur<int32_t>(2240))},
  };
  for (const auto& [n, l] : lus) Ecrire("OrdreModif", "partitions-" + n, Octets{3} + ordres + l);
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
  SemencesOrdreModifRessources();
  SemencesOrdreModifEleves();
  SemencesOrdreModifApports();
  SemencesOrdreModifPartitions();
  SemencesOrdresReglages();
  SemencesPetitsBlocsBase();
}

}  // namespace Semences
