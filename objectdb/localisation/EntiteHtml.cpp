#include "objectdb/localisation/EntiteHtml.h"

#include <algorithm>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/Format.h"

namespace EntiteHtml {

const TChaineRessource RS_EntiteHtmlNonTerminee_SD{
    "EntiteHtml_RS_EntiteHtmlNonTerminee_SD", 65533,
    "Une entité html n'est pas terminée dans la chaîne '%0:s' à la position %1:d"_ansi};
const TChaineRessource RS_EntiteHtmlHorsBorne_SSD{"EntiteHtml_RS_EntiteHtmlHorsBorne_SSD", 65532,
                                                  "L'entité HTML '&#%0:s;' est invalide, chaîne '%1:s', position %2:d"_ansi};
const TChaineRessource RS_EntiteHtmlInconnue_S{"EntiteHtml_RS_EntiteHtmlInconnue_S", 65531,
                                               "L'entité HTML '%s' est inconnue"_ansi};

void Initialiser() {
  static const TChaineRessource* const kChaines[] = {&RS_EntiteHtmlNonTerminee_SD, &RS_EntiteHtmlHorsBorne_SSD,
                                                     &RS_EntiteHtmlInconnue_S};
  ChaineRessource::Enregistrer(kChaines);
}

namespace {

constexpr std::size_t kLongueurNomMax = 255;

// The digits of a reference as a code from 0 to 65535; False for anything else.
bool LireCode(std::string_view chiffres, uint32_t& code) {
  if (chiffres.empty() || chiffres.size() > 5) return false;
  code = 0;
  for (char c : chiffres) {
    if (c < '0' || c > '9') return false;
    code = code * 10 + static_cast<uint32_t>(c - '0');
  }
  return code <= 65535;
}

[[noreturn]] void NonTerminee(std::string_view texte, std::size_t esperluette) {
  throw EConvertError(Format(ChaineRessource::Charger(RS_EntiteHtmlNonTerminee_SD),
                             {texte, static_cast<int64_t>(esperluette + 1)}));
}

// The code of the reference whose digits run from `debut` to `pointVirgule`.
uint32_t CodeReference(std::string_view texte, std::size_t esperluette, std::size_t debut, std::size_t pointVirgule) {
  const std::string_view chiffres = texte.substr(debut, pointVirgule - debut);
  uint32_t code = 0;
  if (!LireCode(chiffres, code))
    throw EConvertError(Format(ChaineRessource::Charger(RS_EntiteHtmlHorsBorne_SSD),
                               {chiffres, texte, static_cast<int64_t>(esperluette + 1)}));
  return code;
}

}  // namespace

std::string EntitesNommeesVersNumeriques(const TypeTableEntitesHtml& Table, std::string_view T) {
  std::string s;
  std::size_t i = 0;
  for (;;) {
    const std::size_t a = T.find('&', i);
    if (a == std::string_view::npos) break;
    s.append(T.substr(i, a - i));
    const std::size_t pv = T.find(';', a + 1);
    if (pv == std::string_view::npos) NonTerminee(T, a);
    if (a + 1 < T.size() && T[a + 1] == '#') {
      (void)CodeReference(T, a, a + 2, pv);
      s.append(T.substr(a, pv - a + 1));
    } else {
      const std::string_view entite = T.substr(a, std::min(pv - a + 1, kLongueurNomMax));
      uint32_t code = 0;
      if (!Table.CodeEntite(entite, code))
        throw EConvertError(Format(ChaineRessource::Charger(RS_EntiteHtmlInconnue_S), {entite}));
      s += "&#" + std::to_string(code) + ";";
    }
    i = pv + 1;
  }
  s.append(T.substr(i));
  return s;
}

std::string EntitesNumeriquesVersNommees(const TypeTableEntitesHtml& Table, std::string_view T) {
  std::string s;
  std::size_t i = 0;
  for (;;) {
    const std::size_t a = T.find("&#", i);
    if (a == std::string_view::npos) break;
    s.append(T.substr(i, a - i));
    const std::size_t pv = T.find(';', a + 2);
    if (pv == std::string_view::npos) NonTerminee(T, a);
    const std::string nom = Table.NomEntite(CodeReference(T, a, a + 2, pv));
    if (nom.empty()) s.append(T.substr(a, pv - a + 1));
    else s += nom;
    i = pv + 1;
  }
  s.append(T.substr(i));
  return s;
}

std::u16string EntitesNumeriquesVersNommeesUnicode(const TypeTableEntitesHtml& Table, std::u16string_view Texte) {
  const std::string utf8 = ChaineUnicode::DepuisUnicode(Texte, ChaineUnicode::CP_UTF8);
  return ChaineUnicode::VersUnicode(EntitesNumeriquesVersNommees(Table, utf8), ChaineUnicode::CP_UTF8);
}

}  // namespace EntiteHtml

// ---------------------------------------------------------------------------------------------------
// TypeTableEntitesHtml

TypeTableEntitesHtml TypeTableEntitesHtml::Construire(std::vector<TypeEntreeEntiteHtml> Entrees_) {
  TypeTableEntitesHtml t;
  t.Entrees = std::move(Entrees_);
  for (int32_t i = 0; i < static_cast<int32_t>(t.Entrees.size()); ++i) {
    t.IndexParCode.push_back(i);
    t.IndexParNom.push_back(i);
  }
  std::stable_sort(t.IndexParCode.begin(), t.IndexParCode.end(),
                   [&](int32_t a, int32_t b) { return t.Entrees[a].Code < t.Entrees[b].Code; });
  std::stable_sort(t.IndexParNom.begin(), t.IndexParNom.end(),
                   [&](int32_t a, int32_t b) { return t.Entrees[a].Nom < t.Entrees[b].Nom; });
  return t;
}

int32_t TypeTableEntitesHtml::Nombre() const {
  // An index never designates past the entries.
  return static_cast<int32_t>(std::min({IndexParCode.size(), IndexParNom.size(), Entrees.size()}));
}

namespace {
// The bisection of both searches: Comparer(entry) is the entry against the key (-1, 0, 1).
template <class Comparer>
bool Bissection(const std::vector<int32_t>& index, int32_t nombre, bool premiere, int32_t& position, Comparer comparer) {
  bool trouve = false;
  int32_t bas = 0, haut = nombre - 1;
  while (bas <= haut) {
    const int32_t milieu = (bas + haut) / 2;
    const int c = comparer(index[static_cast<std::size_t>(milieu)]);
    if (c < 0) {
      bas = milieu + 1;
    } else {
      if (c == 0) {
        trouve = true;
        if (premiere) {
          bas = milieu;
          break;
        }
      }
      haut = milieu - 1;
    }
  }
  position = bas;
  return trouve;
}
}  // namespace

bool TypeTableEntitesHtml::ChercherCode(uint32_t Code, int32_t& Position) const {
  return Bissection(IndexParCode, Nombre(), PremiereCorrespondance, Position, [&](int32_t e) {
    const uint32_t c = Entrees[static_cast<std::size_t>(e)].Code;
    return c < Code ? -1 : c > Code ? 1 : 0;
  });
}

bool TypeTableEntitesHtml::ChercherNom(std::string_view Nom, int32_t& Position) const {
  return Bissection(IndexParNom, Nombre(), false, Position, [&](int32_t e) {
    const int c = std::string_view(Entrees[static_cast<std::size_t>(e)].Nom).compare(Nom);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  });
}

std::string TypeTableEntitesHtml::NomEntite(uint32_t Code) const {
  int32_t p = 0;
  return ChercherCode(Code, p) ? Entrees[static_cast<std::size_t>(IndexParCode[static_cast<std::size_t>(p)])].Nom
                               : NomParDefaut;
}

bool TypeTableEntitesHtml::CodeEntite(std::string_view Nom, uint32_t& Code) const {
  int32_t p = 0;
  if (!ChercherNom(Nom, p)) return false;
  Code = Entrees[static_cast<std::size_t>(IndexParNom[static_cast<std::size_t>(p)])].Code;
  return true;
}
