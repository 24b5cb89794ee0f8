#include "base/fichiers/DeclarationFichier.h"

#include <algorithm>
#include <cstring>

#include "base/SupFichiers.h"
#include "core/records/Comparai.h"

namespace Champ {

namespace {
TypeChampFichier Simple(const char* Nom, TypeSorteChamp Sorte, int32_t Taille, int32_t Stocke) {
  TypeChampFichier c{Nom, Sorte, Taille};
  c.Stocke = Stocke;
  return c;
}
}  // namespace

TypeChampFichier Identifiant() { return Simple("Identifiant", TypeSorteChamp::Entier, 4, -1); }
TypeChampFichier Entier(const char* Nom, int32_t Stocke) { return Simple(Nom, TypeSorteChamp::Entier, 4, Stocke); }
TypeChampFichier Cardinal(const char* Nom, int32_t Stocke) { return Simple(Nom, TypeSorteChamp::Cardinal, 4, Stocke); }
TypeChampFichier Octet(const char* Nom, int32_t Stocke) { return Simple(Nom, TypeSorteChamp::Octet, 1, Stocke); }
TypeChampFichier Booleen(const char* Nom, int32_t Stocke) { return Simple(Nom, TypeSorteChamp::Booleen, 1, Stocke); }
TypeChampFichier Reel(const char* Nom, int32_t Stocke) { return Simple(Nom, TypeSorteChamp::Reel, 8, Stocke); }
TypeChampFichier Octets(const char* Nom, int32_t Taille, int32_t Stocke) {
  return Simple(Nom, TypeSorteChamp::Octets, Taille, Stocke);
}
TypeChampFichier Semaines(const char* Nom, int32_t Stocke) { return Octets(Nom, 7, Stocke); }
TypeChampFichier Chaine(const char* Nom, int32_t Capacite, int32_t Stocke) {
  return Simple(Nom, TypeSorteChamp::Chaine, Capacite + 1, Stocke);
}
TypeChampFichier Reference(const char* Nom, int32_t Cible, int32_t Stocke, TypeSiAbsente SiAbsente,
                           int32_t OrdreCible) {
  TypeChampFichier c = Simple(Nom, TypeSorteChamp::Reference, 4, Stocke);
  c.Cible = Cible;
  c.SiAbsente = SiAbsente;
  c.OrdreCible = OrdreCible;
  return c;
}
TypeChampFichier ReferenceSelon(const char* Nom, int32_t (*CibleDe)(const uint8_t*), int32_t Stocke) {
  TypeChampFichier c = Simple(Nom, TypeSorteChamp::Reference, 4, Stocke);
  c.CibleDe = CibleDe;
  return c;
}

}  // namespace Champ

TypeCleDeclaree Decroissant(const char* Champ) { return {Champ, &Comparai::ComparerOctetDecroissant}; }

namespace DeclarationFichier {

namespace {

int32_t Alignement(const TypeChampFichier& c) {
  switch (c.Sorte) {
    case TypeSorteChamp::Entier:
    case TypeSorteChamp::Cardinal:
    case TypeSorteChamp::Reference:
      return 4;
    case TypeSorteChamp::Reel:
      return 8;
    default:
      return 1;
  }
}

TypeComparaison ComparaisonDe(const TypeChampFichier& c) {
  switch (c.Sorte) {
    case TypeSorteChamp::Entier:
      return &Comparai::ComparerEntierBis;
    case TypeSorteChamp::Cardinal:
    case TypeSorteChamp::Reference:
      return &Comparai::ComparerCardinal;
    case TypeSorteChamp::Booleen:
      return &Comparai::ComparerOctet;
    case TypeSorteChamp::Octet:
    case TypeSorteChamp::Octets:
      return &Comparai::ComparerOctets;
    case TypeSorteChamp::Chaine:
      return &Comparai::ComparerChaineCourte;
    case TypeSorteChamp::Reel:
      return &Comparai::ComparerReels;
  }
  return nullptr;
}

uint32_t Charger(const uint8_t* p, int32_t Largeur) {
  uint32_t v = 0;
  for (int32_t i = 0; i < std::min(Largeur, 4); ++i) v |= uint32_t{p[i]} << (8 * i);
  return v;
}

void Poser(uint8_t* p, int32_t Largeur, uint32_t v) {
  for (int32_t i = 0; i < std::min(Largeur, 4); ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

int32_t CibleDuChamp(const TypeChampFichier& c, const uint8_t* Enregistrement) {
  return c.CibleDe != nullptr ? c.CibleDe(Enregistrement) : c.Cible;
}

}  // namespace

TypeDescriptionFichier Decrire(const TypeDeclarationFichier& d) {
  std::vector<TypeChampFichier> champs = d.Champs;
  int32_t decalage = 0, alignementMax = 4;
  for (TypeChampFichier& c : champs) {
    const int32_t a = Alignement(c);
    alignementMax = std::max(alignementMax, a);
    decalage = (decalage + a - 1) / a * a;
    c.Decalage = decalage;
    decalage += c.Taille;
  }
  const int32_t taille = (decalage + alignementMax - 1) / alignementMax * alignementMax;

  std::vector<TypeOrdreFichier> ordres;
  int32_t ordreIdentifiant = 0;
  for (const TypeOrdreDeclare& o : d.Ordres) {
    TypeOrdreFichier ordre{o.Unique, {}};
    for (const TypeCleDeclaree& cle : o.Colonnes) {
      const auto c = std::find_if(champs.begin(), champs.end(),
                                  [&](const TypeChampFichier& x) { return std::strcmp(x.Nom, cle.Champ) == 0; });
      if (c == champs.end()) ordre.Colonnes.push_back({-1, 0, nullptr});
      else
        ordre.Colonnes.push_back(
            {c->Decalage, c->Taille, cle.Comparaison != nullptr ? cle.Comparaison : ComparaisonDe(*c)});
    }
    ordres.push_back(ordre);
    if (o.Colonnes.size() == 1 && std::strcmp(o.Colonnes.front().Champ, "Identifiant") == 0)
      ordreIdentifiant = static_cast<int32_t>(ordres.size());
  }

  std::vector<TypeDispositionStockee> dispositions = d.Anciennes;
  dispositions.push_back({d.TailleStockee, {}, d.Lire != nullptr ? d.Lire : &LireChamps});
  TypeDescriptionFichier description{
      d.Unite,
      d.Extension,
      d.CodeTable,
      d.Place,
      static_cast<uint32_t>(taille),
      std::move(ordres),
      ordreIdentifiant,
      std::move(dispositions),
      d.Ecrire != nullptr ? d.Ecrire : &EcrireChamps,
      d.Defauts,
      d.Verifie,
  };
  description.Champs = std::move(champs);
  return description;
}

const TypeChampFichier* ChampNomme(const TypeDescriptionFichier& Description, const char* Nom) {
  for (const TypeChampFichier& c : Description.Champs)
    if (std::strcmp(c.Nom, Nom) == 0) return &c;
  return nullptr;
}

bool NumeroReference(const TypeChampFichier& c, int32_t Cible, uint32_t Stocke, uint32_t& Numero) {
  TFichierSup* cible = SupFichiers::Fichier(Cible);
  Numero = cible == nullptr ? 0 : cible->NumeroDeCle(c.OrdreCible, Stocke);
  if (Numero != 0) return true;
  switch (c.SiAbsente) {
    case TypeSiAbsente::Refuser:
      return false;
    case TypeSiAbsente::AucuneSiZero:
      return Stocke == 0;
    case TypeSiAbsente::Aucune:
      return true;
    case TypeSiAbsente::Premiere:
      Numero = 1;
      return true;
    case TypeSiAbsente::ParDefaut:
      Numero = c.NumeroParDefaut != nullptr ? c.NumeroParDefaut() : 0;
      return true;
  }
  return false;
}

uint32_t ValeurReference(const TypeChampFichier& c, int32_t Cible, uint32_t Numero) {
  TFichierSup* cible = SupFichiers::Fichier(Cible);
  if (cible == nullptr || Numero == 0) return 0;
  if (c.OrdreCible == 0) return static_cast<uint32_t>(cible->IdentifiantDe(Numero));
  const auto& ordres = cible->Description().Ordres;
  if (static_cast<std::size_t>(c.OrdreCible) > ordres.size()) return 0;
  return cible->ValeurDe(Numero, ordres[static_cast<std::size_t>(c.OrdreCible - 1)].Colonnes.front().Decalage);
}

bool LireChamps(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  uint8_t* e = f.Enregistrement();
  // The references whose file the record tells come last, once the fields that tell it are read.
  for (bool selon : {false, true})
    for (const TypeChampFichier& c : f.Description().Champs) {
      if (c.Stocke < 0 || (c.CibleDe != nullptr) != selon) continue;
      uint8_t* champ = e + c.Decalage;
      switch (c.Sorte) {
        case TypeSorteChamp::Chaine:
          FichierSup::CopierChaineCourte(champ, c.Taille - 1, s + c.Stocke, c.LargeurStockee() - 1);
          break;
        case TypeSorteChamp::Booleen:
          *champ = s[c.Stocke] != 0;
          break;
        case TypeSorteChamp::Entier:
        case TypeSorteChamp::Cardinal:
          Poser(champ, c.Taille, Charger(s + c.Stocke, c.LargeurStockee()));
          break;
        case TypeSorteChamp::Reference: {
          uint32_t numero = 0;
          if (!NumeroReference(c, CibleDuChamp(c, e), Charger(s + c.Stocke, 4), numero)) return false;
          Poser(champ, 4, numero);
          break;
        }
        default:
          std::memcpy(champ, s + c.Stocke, static_cast<std::size_t>(c.Taille));
      }
    }
  return true;
}

bool EcrireChamps(TFichierSup& f, uint8_t* s) {
  const uint8_t* e = f.Enregistrement();
  for (const TypeChampFichier& c : f.Description().Champs) {
    if (c.Stocke < 0) continue;
    const uint8_t* champ = e + c.Decalage;
    switch (c.Sorte) {
      case TypeSorteChamp::Chaine:
        FichierSup::CopierChaineCourte(s + c.Stocke, c.LargeurStockee() - 1, champ, c.Taille - 1);
        break;
      case TypeSorteChamp::Booleen:
        s[c.Stocke] = *champ != 0;
        break;
      case TypeSorteChamp::Entier:
      case TypeSorteChamp::Cardinal:
        Poser(s + c.Stocke, c.LargeurStockee(), Charger(champ, c.Taille));
        break;
      case TypeSorteChamp::Reference:
        Poser(s + c.Stocke, 4, ValeurReference(c, CibleDuChamp(c, e), Charger(champ, 4)));
        break;
      default:
        std::memcpy(s + c.Stocke, champ, static_cast<std::size_t>(c.Taille));
    }
  }
  return true;
}

}  // namespace DeclarationFichier
